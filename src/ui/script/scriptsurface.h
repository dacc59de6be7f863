#pragma once

#include <QWidget>

#include "ui/widgets/twipscale.h"

namespace velloran::ui {

class Reflector;
class ScriptText;

// The surface `Scroll`: a black panel 500000 twips tall whose Top is the scroll position, with
// the text box `Tex` on it. Only the part inside the window's viewing band is a real widget, and
// `Tex` is moved and scrolled within it; no native window is ever taller than the band.
class ScriptSurface : public QWidget {
    Q_OBJECT
public:
    ScriptSurface(QWidget* window, const TwipScale& scale, double texTop);

    ScriptText* text() const { return m_text; }
    void setAcceptsFiles(bool accepts);  // files dropped on the surface or its text

    void setBand(double top, double bottom);  // window rows where the surface can be seen
    double bandTop() const { return m_bandTop; }
    double bandBottom() const { return m_bandBottom; }
    double texTop() const { return m_texTop; }  // where the text box stands on the surface
    void setLeft(double left);
    void setWidth(double width);
    double width() const { return m_width; }
    void setPosition(double top);
    double position() const { return m_top; }
    // Whole-script option: the surface grows to hold the whole script, laid out lazily.
    void setFollowsScript(bool follows);
    // While set, every line above what is shown is laid out before it is shown, so a place given
    // as a number (a restored position) shows the lines really there, not an estimate's.
    void setLaysOutAbove(bool on);
    // The position at which the script's last line has risen above the viewing band.
    double lastLineGone() const;
    void setTexLeft(double left);
    double texLeft() const { return m_texLeft; }
    void setTexWidth(double width);
    double texWidth() const { return m_texWidth; }

    // Places itself and `Tex` as `reflector` shows the picture (null: plainly).
    void setReflector(const Reflector* reflector);

    // Recomputes what is seen after a change of position, size or content.
    void refresh();
    // One click of a font button: 2 points larger or smaller within the bounds.
    void stepFontSize(bool larger);

signals:
    void mouseMoved();
    void scriptHeightChanged();              // with the whole-script option: the range may have changed
    void shownContentShifted(double twips);  // see ScriptText::shownContentShifted
    void filesDropped(const QStringList& paths);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    ScriptText* m_text;
    TwipScale m_scale;
    double m_texTop;
    double m_bandTop = 0;
    double m_bandBottom = 0;
    double m_left = 0;
    double m_width = 0;
    double m_top = 0;
    bool m_laysOutAbove = false;
    double m_texLeft = 0;
    double m_texWidth = 0;
    bool m_acceptsFiles = false;
    const Reflector* m_reflector = nullptr;
    int m_scrolledBy = 0;  // pixels of the box's own line scrolling
};

}  // namespace velloran::ui
