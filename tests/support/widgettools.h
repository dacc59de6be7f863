#pragma once

// Checks and inputs that the widget tests of both windows share. Controls are found by their
// names, as the user knows them.
#include <QColor>
#include <QString>
#include <QWidget>

#include <functional>
#include <initializer_list>

#include "engine/playlayout.h"

class QWindow;

namespace velloran::ui {
class LayoutTargets;
class ReadingPane;
class ScriptText;
}  // namespace velloran::ui

namespace widgettools {

[[noreturn]] void noControl(const char* name);

template <typename T = QWidget> T* child(const QObject* window, const char* name)
{
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        noControl(name);
    return found;
}

velloran::ui::ReadingPane& paneOf(const QWidget* window);
velloran::ui::ScriptText* texOf(const QWidget* window);

void click(QWidget* window, const char* name, Qt::MouseButton button = Qt::LeftButton);
QString caption(QWidget* window, const char* name);
void setSpinner(QWidget* window, const char* name, int value);
// One expiry of the window's running tick timer, delivered at once instead of waited for.
void tick(QWidget* window);
// A key as the user types it: to the focused control, the window seeing it first.
void key(Qt::Key code, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// An Alt shortcut, which clicks its button at once.
void altKey(QWidget* window, Qt::Key code, const char* button);
double twipsPerPixel();  // on the screen the windows open on
QColor scriptColour(const QWidget* window);

// The control is whole and in front: its centre and its four corners reach it, not a control
// stacked over it, and none lies outside its window.
bool wholeAndOnTop(QWidget* control);

// Alt and a key held down together: the first press, then `repeats` auto-repeated presses as
// the keyboard sends them while the key stays down, then the releases. Nothing waits in between.
void holdAltKey(QWindow* window, Qt::Key key, const QString& text, int repeats);

// The four Alt shortcuts of both windows.
struct AltShortcut {
    const char* button;
    Qt::Key key;
    const char* text;
    int nudge;  // how far one press moves the script, in twips
};
inline const AltShortcut kAltShortcuts[] = {
    {"cPlay2", Qt::Key_P, "p", 0},
    {"cUpB", Qt::Key_Slash, "/", -200},
    {"cDwnB", Qt::Key_Backslash, "\\", 200},
    {"cBack", Qt::Key_B, "b", 0},
};

// Ten presses of the shortcut, one after another or as one key held down for nine repeats.
void pressTenTimes(QWindow* window, const AltShortcut& shortcut, bool held);

// Every control the layouts change is registered in the window, and under its own name: what is
// registered is the window's control of that name (the window itself for `window`, the session's
// clock timer for `tTime`), so a renamed or forgotten control fails here.
void expectLayoutsReachTheirControls(QWidget* window, const QObject* session,
                                     std::initializer_list<velloran::engine::Layout> layouts);

// A script of `count` numbered lines of varied length, so that estimated heights are off at first.
QString variedLines(int count);

// A movement over the window's navigation bar with the left button held, `fraction` of its height
// down.
void dragOnBar(QWidget* window, double fraction);

// With the whole-script option on, in either window, once the layout has settled: the bar spans
// from the script's start to its end, the ticks pass the classic limit, the warning starts 10000
// twips before the end and the wrap comes where the last line has left the band. Starts paused
// at home and leaves the pane playing.
void expectWholeScriptRange(QWidget* window, double home, const std::function<void()>& tick);

// The option turned off while far down: the classic range at once, the wrap at the next tick.
void expectClassicRangeBackAtOnce(QWidget* window, double home, const std::function<void(bool)>& setOption,
                                  const std::function<void()>& tick);

}  // namespace widgettools

using namespace widgettools;
