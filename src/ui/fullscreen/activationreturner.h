#pragma once

#include <QObject>

namespace velloran::ui {

// Should the platform activate an overlay window all the same (some do when the window below is
// minimised and restored), the activation goes back to the window it belongs to.
class ActivationReturner : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace velloran::ui
