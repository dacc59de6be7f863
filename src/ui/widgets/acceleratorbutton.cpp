#include "ui/widgets/acceleratorbutton.h"

#include <QShortcutEvent>

namespace velloran::ui {

bool AcceleratorButton::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut && !static_cast<QShortcutEvent*>(event)->isAmbiguous()) {
        click();
        return true;
    }
    return QPushButton::event(event);
}

}  // namespace velloran::ui
