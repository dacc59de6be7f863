#include "ui/widgets/mouserelay.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace velloran::ui {

MouseRelay::MouseRelay(QWidget* widget, bool takePresses) : QObject(widget), m_takePresses(takePresses)
{
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
}

MouseRelay* MouseRelay::on(QWidget* widget, bool takePresses)
{
    if (auto* relay = widget->findChild<MouseRelay*>(QString(), Qt::FindDirectChildrenOnly))
        return relay;
    return new MouseRelay(widget, takePresses);
}

bool MouseRelay::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove: {
        auto* move = static_cast<QMouseEvent*>(event);
        if (m_pressedAt && move->buttons() != Qt::NoButton &&
            (move->globalPosition() - *m_pressedAt).manhattanLength() >= QApplication::startDragDistance()) {
            m_pressedAt.reset();
            emit dragged(static_cast<int>(move->buttons().toInt()));
        }
        // A move that a child left unhandled travels up to here; it is the child's, not ours.
        if (static_cast<QWidget*>(watched)->childAt(move->position().toPoint()))
            break;
        emit moved(static_cast<int>(move->buttons().toInt()));
        break;
    }
    case QEvent::MouseButtonPress:
        m_pressedAt = static_cast<QMouseEvent*>(event)->globalPosition();
        return m_takePresses;
    case QEvent::MouseButtonRelease:
        m_pressedAt.reset();
        emit released(static_cast<int>(static_cast<QMouseEvent*>(event)->button()));
        break;
    case QEvent::MouseButtonDblClick:
        m_pressedAt = static_cast<QMouseEvent*>(event)->globalPosition();
        emit doubleClicked();
        return m_takePresses;
    default: break;
    }
    return false;
}

}  // namespace velloran::ui
