#pragma once

#include <QLabel>

#include "ui/widgets/twipscale.h"

class QTimer;

namespace velloran::ui {

// A message in the window that stops nothing: a pale strip over the top of the script that goes
// away when clicked, or after a while. Everything it shows is written to standard error too.
// The program has no message boxes; this is for the few things the user must learn (a script
// refused for its size, a state file kept aside, work brought back after a crash).
class Notice : public QLabel {
    Q_OBJECT
public:
    // top and margin in twips, from the window's top and sides.
    Notice(QWidget* window, const TwipScale& scale, double top, double margin);

    void tell(const QString& message);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    QTimer* m_hide;
    TwipScale m_scale;
    double m_top;
    double m_margin;
};

}  // namespace velloran::ui
