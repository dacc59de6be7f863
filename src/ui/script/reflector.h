#pragma once

#include <QHash>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QRegion>

class QMouseEvent;
class QPaintEvent;
class QWidget;

namespace velloran::ui {

// Shows widgets reflected left to right (mirror) and upside down (flip), for a beam-splitter
// glass. The picture is the plain one reflected to the pixel: each region a watched widget has to
// paint is first rendered plainly from its reflected place into an image, which is then reflected
// and drawn. Mouse positions over a watched widget are reflected back before it sees them, so a
// click means the same place of the plain picture. The owner reflects the placement of each
// widget within its parent with place().
class Reflector : public QObject {
    Q_OBJECT
public:
    explicit Reflector(QObject* parent);

    void watch(QWidget* widget);
    void set(bool mirror, bool flip);  // watched widgets repaint
    bool mirror() const { return m_mirror; }
    bool flip() const { return m_flip; }
    bool active() const { return m_mirror || m_flip; }
    // Whether a place a widget updates in its own plain terms is also repainted where it shows
    // (see paintReflected). Off while the script moves, where everything is repainted soon anyway
    // and the echo of each newly exposed strip would double the painting upside down.
    void setEchoes(bool echoes) { m_echoesOn = echoes; }

    // `rect` within an area of `area` size, reflected as the picture is.
    QRect place(const QRect& rect, const QSize& area) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QRegion reflected(const QRegion& region, const QSize& area) const;
    void paintReflected(QWidget* widget, const QRegion& region);
    // Renders the plain picture of `target`'s reflected place at `at` in the window's own image,
    // and reflects those pixels where they lie.
    void renderReflectedInPlace(QWidget* widget, QImage* image, const QRect& target, QPoint at);
    // The widget's plain picture of `source`, in an image over m_scratch's memory.
    QImage renderPlain(QWidget* widget, const QRect& source);
    bool resendReflected(QWidget* widget, QMouseEvent* event);

    bool m_mirror = false;
    bool m_flip = false;
    bool m_echoesOn = true;
    bool m_inner = false;  // rendering the plain picture or resending a reflected event
    QList<QPointer<QWidget>> m_watched;
    // Regions asked for because a widget updated a place in its own plain terms: their paint
    // needs no echo of its own.
    QHash<QWidget*, QRegion> m_echoes;
    QImage m_scratch;
};

}  // namespace velloran::ui
