#include "ui/overlaywindow.h"

#include <QEvent>
#include <QWidget>

namespace velloran::ui {

namespace {

// Should the platform activate the overlay all the same (some do when the window below is
// minimised and restored), the activation goes back to the window it belongs to.
class ActivationReturner : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::WindowActivate) {
            QWidget* owner = static_cast<QWidget*>(watched)->parentWidget();
            if (owner && owner->isVisible())
                owner->activateWindow();
        }
        return false;
    }
};

}  // namespace

void makeOverlayWindow(QWidget* widget, bool takesMouse)
{
    Qt::WindowFlags flags = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus;
    if (!takesMouse)
        flags |= Qt::WindowTransparentForInput;
    widget->setWindowFlags(flags);
    widget->setAttribute(Qt::WA_ShowWithoutActivating);
    widget->setAttribute(Qt::WA_X11DoNotAcceptFocus);
    // A click on a control here must not move the focus away from the script.
    widget->installEventFilter(new ActivationReturner(widget));
    widget->setFocusPolicy(Qt::NoFocus);
    for (QWidget* control : widget->findChildren<QWidget*>())
        control->setFocusPolicy(Qt::NoFocus);
}

}  // namespace velloran::ui
