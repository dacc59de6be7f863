#pragma once

#include <QAbstractSlider>

namespace velloran::ui {

// A scroll bar reduced to its two arrow buttons, used as a spinner. On the vertical one the upper
// arrow lowers the value; on the horizontal one the left arrow lowers it. A turn of the wheel
// clicks the arrow in its direction: up (away from the user) and left lower the value.
class ArrowSpinner : public QAbstractSlider {
    Q_OBJECT
public:
    ArrowSpinner(const QString& name, Qt::Orientation orientation, QWidget* parent);

    // What a press on one arrow does, held until stopRepeat(): one step, then repeats (a held key).
    void startRepeat(bool raise);
    void stopRepeat();

signals:
    void mouseMoved();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    bool onLowerHalf(const QPointF& point) const;  // the arrow that lowers the value
    int m_pressedArrow = 0;                        // -1 lowering, +1 raising, 0 none
    int m_wheelRest = 0;                           // the turn not yet making a whole notch
};

}  // namespace velloran::ui
