#include "ui/widgets/twipscale.h"

#include <QScreen>
#include <QWidget>

namespace velloran::ui {

namespace {
constexpr double kTwipsPerInch = 1440;
constexpr double kPlainDotsPerInch = 96;
}  // namespace

TwipScale TwipScale::of(const QScreen* screen)
{
    const double dpi = screen ? screen->logicalDotsPerInchY() : 0;
    return TwipScale(kTwipsPerInch / (dpi > 0 ? dpi : kPlainDotsPerInch));
}

TwipScale TwipScale::of(const QWidget* widget)
{
    return of(widget->screen());
}

void TwipScale::place(QWidget* widget, double left, double top, double width, double height) const
{
    widget->setGeometry(rect(left, top, width, height));
}

}  // namespace velloran::ui
