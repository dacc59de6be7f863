#pragma once

#include <QAbstractButton>

namespace velloran::ui {

// A flat picture button that also reports which mouse button pressed or released it
// (1 left, 2 right, 4 middle); `clicked` stays the ordinary left click.
class PictureButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class Glyph {
        Play,
        Pause,
        Plus,
        Minus,
        Reset,
        Folder,
        Help,
        Full,
        Exit,
        Up,
        Down,
        Okay,
        Backup,
        Cancel
    };

    PictureButton(const QString& name, Glyph glyph, QWidget* parent);

signals:
    void mousePressed(int button);
    void mouseReleased(int button);
    void mouseMoved();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    QSize sizeHint() const override { return {40, 40}; }

private:
    void drawGlyph(class QPainter& painter, const QRectF& area) const;
    void drawShape(QPainter& painter, const QRectF& square, const class QPen& stroke) const;
    Glyph m_glyph;
};

}  // namespace velloran::ui
