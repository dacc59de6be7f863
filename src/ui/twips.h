#pragma once

#include <QRect>
#include <cmath>

class QWidget;

namespace velloran::ui {

// The drawing edge: the engine and the layout tables speak twips, widgets speak pixels.
class Twips {
public:
    static double perPixel() { return s_perPixel; }
    static void setPerPixel(double twipsPerPixel) { s_perPixel = twipsPerPixel; }
    // Reads the primary screen's logical resolution (1440 twips to the inch).
    static void initFromScreen();

    static int px(double twips) { return static_cast<int>(std::lround(twips / s_perPixel)); }
    static double fromPx(double pixels) { return pixels * s_perPixel; }
    static QRect rect(double left, double top, double width, double height)
    {
        return {px(left), px(top), px(width), px(height)};
    }

private:
    static inline double s_perPixel = 15.0;
};

// Places a widget by a rectangle in twips relative to its parent.
void place(QWidget* widget, double left, double top, double width, double height);

}  // namespace velloran::ui
