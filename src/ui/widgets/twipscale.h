#pragma once

#include <QRect>
#include <cmath>

class QScreen;
class QWidget;

namespace velloran::ui {

// The drawing edge: the engine and the layout tables speak twips (1440 to the inch), widgets speak
// pixels. Each window takes its scale from its own screen and hands it to whatever places or draws
// its controls.
class TwipScale {
public:
    explicit TwipScale(double twipsPerPixel) : m_perPixel(twipsPerPixel) { }
    // From the screen's logical resolution; 15 twips a pixel (96 dots per inch) without one.
    static TwipScale of(const QScreen* screen);
    static TwipScale of(const QWidget* widget);  // the widget's screen

    double perPixel() const { return m_perPixel; }
    int px(double twips) const { return static_cast<int>(std::lround(twips / m_perPixel)); }
    QRect rect(double left, double top, double width, double height) const
    {
        return {px(left), px(top), px(width), px(height)};
    }
    // Places a widget by a rectangle in twips relative to its parent.
    void place(QWidget* widget, double left, double top, double width, double height) const;

private:
    double m_perPixel;
};

}  // namespace velloran::ui
