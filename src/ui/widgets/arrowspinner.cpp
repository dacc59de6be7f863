#include "ui/widgets/arrowspinner.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>
#include <cstdlib>

namespace velloran::ui {

ArrowSpinner::ArrowSpinner(const QString& name, Qt::Orientation orientation, QWidget* parent)
    : QAbstractSlider(parent)
{
    setObjectName(name);
    setOrientation(orientation);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
}

bool ArrowSpinner::onLowerHalf(const QPointF& point) const
{
    return orientation() == Qt::Vertical ? point.y() < height() / 2.0 : point.x() < width() / 2.0;
}

void ArrowSpinner::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    startRepeat(!onLowerHalf(event->position()));
}

void ArrowSpinner::mouseReleaseEvent(QMouseEvent*)
{
    stopRepeat();
}

void ArrowSpinner::startRepeat(bool raise)
{
    m_pressedArrow = raise ? 1 : -1;
    const SliderAction action = raise ? SliderSingleStepAdd : SliderSingleStepSub;
    triggerAction(action);
    setRepeatAction(action, 400, 60);
    update();
}

void ArrowSpinner::stopRepeat()
{
    setRepeatAction(SliderNoAction);
    m_pressedArrow = 0;
    update();
}

void ArrowSpinner::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved();
    QAbstractSlider::mouseMoveEvent(event);
}

void ArrowSpinner::wheelEvent(QWheelEvent* event)
{
    constexpr int kNotch = 120;  // one notch of a standard wheel, in eighths of a degree
    const QPoint angle = event->angleDelta();
    const int turn = std::abs(angle.y()) >= std::abs(angle.x()) ? angle.y() : angle.x();
    if (turn == 0) {
        event->ignore();
        return;
    }
    if ((m_wheelRest > 0) != (turn > 0))
        m_wheelRest = 0;  // turning back drops the part of a notch left over
    m_wheelRest += turn;
    const int notches = m_wheelRest / kNotch;
    m_wheelRest -= notches * kNotch;
    for (int i = 0; i < std::abs(notches); ++i)
        triggerAction(notches > 0 ? SliderSingleStepSub : SliderSingleStepAdd);
    event->accept();
}

void ArrowSpinner::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool vertical = orientation() == Qt::Vertical;
    const QRectF whole = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QRectF first = vertical ? QRectF(whole.left(), whole.top(), whole.width(), whole.height() / 2)
                                  : QRectF(whole.left(), whole.top(), whole.width() / 2, whole.height());
    const QRectF second =
        vertical ? first.translated(0, whole.height() / 2) : first.translated(whole.width() / 2, 0);
    const QColor arrow = isEnabled() ? QColor(20, 20, 20) : QColor(150, 150, 150);
    auto drawArrow = [&](const QRectF& box, bool pointsToStart, bool pressed) {
        painter.setPen(QColor(110, 110, 110));
        painter.setBrush(pressed ? QColor(170, 170, 170) : QColor(214, 214, 214));
        painter.drawRect(box);
        const QRectF a =
            box.adjusted(box.width() * 0.3, box.height() * 0.3, -box.width() * 0.3, -box.height() * 0.3);
        QPainterPath path;
        if (vertical && pointsToStart) {
            path.moveTo(a.center().x(), a.top());
            path.lineTo(a.bottomRight());
            path.lineTo(a.bottomLeft());
        } else if (vertical) {
            path.moveTo(a.topLeft());
            path.lineTo(a.topRight());
            path.lineTo(a.center().x(), a.bottom());
        } else if (pointsToStart) {
            path.moveTo(a.left(), a.center().y());
            path.lineTo(a.topRight());
            path.lineTo(a.bottomRight());
        } else {
            path.moveTo(a.topLeft());
            path.lineTo(a.right(), a.center().y());
            path.lineTo(a.bottomLeft());
        }
        path.closeSubpath();
        painter.setPen(Qt::NoPen);
        painter.setBrush(arrow);
        painter.drawPath(path);
    };
    drawArrow(first, true, m_pressedArrow < 0);
    drawArrow(second, false, m_pressedArrow > 0);
}

}  // namespace velloran::ui
