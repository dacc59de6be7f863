#include "ui/fullscreen/overlaywindow.h"

#include <QWidget>

#include "ui/fullscreen/activationreturner.h"

namespace velloran::ui {

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
