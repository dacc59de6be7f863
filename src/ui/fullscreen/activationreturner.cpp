#include "ui/fullscreen/activationreturner.h"

#include <QEvent>
#include <QWidget>

namespace velloran::ui {

bool ActivationReturner::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WindowActivate) {
        QWidget* owner = static_cast<QWidget*>(watched)->parentWidget();
        if (owner && owner->isVisible())
            owner->activateWindow();
    }
    return false;
}

}  // namespace velloran::ui
