#include "ui/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace velloran::ui {

void Twips::initFromScreen()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const double dpi = screen->logicalDotsPerInchY();
        if (dpi > 0)
            s_perPixel = 1440.0 / dpi;
    }
}

void place(QWidget* widget, double left, double top, double width, double height)
{
    widget->setGeometry(Twips::rect(left, top, width, height));
}

}  // namespace velloran::ui
