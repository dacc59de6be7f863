#pragma once

#include <QPushButton>

namespace velloran::ui {

// Qt clicks a button reached by its Alt key with a short animation and drops the presses that
// arrive meanwhile; here every press, and every auto-repeat of a held key, is one click, at once.
class AcceleratorButton final : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    bool event(QEvent* event) override;
};

}  // namespace velloran::ui
