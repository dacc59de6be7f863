#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QPoint>
#include <QRect>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <initializer_list>

#include <QTimer>
#include <cmath>
#include <functional>

#include "engine/scroller.h"
#include "ui/layouttargets.h"
#include "ui/navigationbar.h"
#include "ui/readingpane.h"
#include "ui/scriptsurface.h"
#include "ui/scripttext.h"

// Checks and inputs that the widget tests of both windows share.
namespace widgettools {

// The control is whole and in front: its centre and its four corners reach it, not a control
// stacked over it, and none lies outside its window.
inline bool wholeAndOnTop(QWidget* control)
{
    QWidget* window = control->window();
    const QRect area = control->rect().adjusted(1, 1, -1, -1);
    for (const QPoint at :
         {area.center(), area.topLeft(), area.topRight(), area.bottomLeft(), area.bottomRight()}) {
        const QPoint inWindow = control->mapTo(window, at);
        if (!window->rect().contains(inWindow) || window->childAt(inWindow) != control)
            return false;
    }
    return true;
}

// Alt and a key held down together: the first press, then `repeats` auto-repeated presses as
// the keyboard sends them while the key stays down, then the releases. Nothing waits in between.
inline void holdAltKey(QWindow* window, Qt::Key key, const QString& text, int repeats)
{
    QTest::simulateEvent(window, true, Qt::Key_Alt, Qt::NoModifier, QString(), false);
    for (int i = 0; i <= repeats; ++i)
        QTest::simulateEvent(window, true, key, Qt::AltModifier, text, i > 0);
    QTest::simulateEvent(window, false, key, Qt::AltModifier, text, false);
    QTest::simulateEvent(window, false, Qt::Key_Alt, Qt::AltModifier, QString(), false);
}

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
inline void pressTenTimes(QWindow* window, const AltShortcut& shortcut, bool held)
{
    if (held) {
        holdAltKey(window, shortcut.key, QString::fromLatin1(shortcut.text), 9);
        return;
    }
    for (int i = 0; i < 10; ++i)
        QTest::keyClick(window, shortcut.key, Qt::AltModifier);
}

// Every control the layouts change is registered in the window, and under its own name: what is
// registered is the window's control of that name (the window itself for `window`), so a renamed
// or forgotten control fails here.
inline void expectLayoutsReachTheirControls(QWidget* window, const velloran::ui::LayoutTargets& targets,
                                            std::initializer_list<velloran::engine::Layout> layouts)
{
    using velloran::engine::LayoutControl;
    for (const velloran::engine::Layout& layout : layouts) {
        for (const velloran::engine::LayoutStep& step : layout) {
            const QString name = QString::fromLatin1(velloran::engine::controlName(step.control));
            QVERIFY2(targets.has(step.control), qPrintable(name + QStringLiteral(" is not registered")));
            if (step.control == LayoutControl::Playing)
                continue;  // a flag, not a control
            QObject* named =
                step.control == LayoutControl::window ? window : window->findChild<QObject*>(name);
            QVERIFY2(named, qPrintable(QStringLiteral("the window has no control named ") + name));
            QCOMPARE(targets.object(step.control), named);
        }
    }
}

// A script of `count` numbered lines of varied length, so that estimated heights are off at first.
inline QString variedLines(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << QStringLiteral("line %1 ").arg(i) + QString(i % 9 * 11, u'x');
    return lines.join(u'\n');
}

// A movement over the navigation bar with the left button held, `fraction` of its height down.
inline void dragOnBar(velloran::ui::ReadingPane& pane, double fraction)
{
    QWidget* tip = pane.tip();
    const QPointF at(tip->width() / 2.0, fraction * tip->height());
    QMouseEvent move(QEvent::MouseMove, at, tip->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(tip, &move);
}

inline QColor scriptColour(velloran::ui::ReadingPane& pane)
{
    return pane.tex()->palette().color(QPalette::Text);
}

// With the whole-script option on, in either window, once the layout has settled: the bar spans
// from the script's start to its end, the ticks pass the classic limit, the warning starts 10000
// twips before the end and the wrap comes where the last line has left the band. Starts paused
// at home and leaves the pane playing.
inline void expectWholeScriptRange(velloran::ui::ReadingPane& pane, double home,
                                   const std::function<void()>& tick)
{
    QTRY_VERIFY(pane.tex()->layoutSettled());
    const double wrap = std::floor(pane.surface()->lastLineGone());
    QVERIFY2(wrap < -300000, qPrintable(QString::number(wrap)));
    QCOMPARE(pane.scroller().range().wrapLimit, wrap);
    QCOMPARE(pane.tip()->scaleHeight(), -wrap);

    dragOnBar(pane, 0);  // the top of the bar: the end
    QCOMPARE(pane.scroller().position(), wrap);
    QCOMPARE(scriptColour(pane), QColor(255, 255, 0));
    dragOnBar(pane, 1);  // the bottom: the start
    QCOMPARE(pane.scroller().position(), 0.0);
    dragOnBar(pane, 0.5);
    QVERIFY(std::abs(pane.scroller().position() - wrap / 2) <= -wrap / pane.tip()->height());

    const int frequency = pane.frequencyValue();
    pane.TogglePlay();
    // Playing, the full-screen script is wider: its lines are laid out again and its end moves.
    QTRY_VERIFY(pane.tex()->layoutSettled());
    const double playingWrap = pane.scroller().range().wrapLimit;
    QCOMPARE(playingWrap, std::floor(pane.surface()->lastLineGone()));
    pane.setPosition(velloran::engine::kWrapLimit);
    tick();
    QCOMPARE(pane.scroller().position(), velloran::engine::kWrapLimit - frequency);
    QCOMPARE(scriptColour(pane), QColor(Qt::white));
    pane.setPosition(playingWrap + 10000 + frequency);
    tick();
    QCOMPARE(scriptColour(pane), QColor(Qt::white));
    tick();
    QCOMPARE(scriptColour(pane), QColor(255, 255, 0));
    pane.setPosition(playingWrap);
    tick();
    QCOMPARE(pane.scroller().position(), home - frequency);
    QCOMPARE(scriptColour(pane), QColor(Qt::white));
}

// The option turned off while far down: the classic range at once, the wrap at the next tick.
inline void expectClassicRangeBackAtOnce(velloran::ui::ReadingPane& pane, double home,
                                         const std::function<void(bool)>& setOption,
                                         const std::function<void()>& tick)
{
    pane.setPosition(-400000);
    pane.ShowPosition();
    setOption(false);
    QCOMPARE(pane.scroller().range(), velloran::engine::ScrollRange {});
    QCOMPARE(pane.tip()->scaleHeight(), double(velloran::engine::kSurfaceHeight));
    QCOMPARE(pane.scroller().position(), -400000.0);
    QCOMPARE(scriptColour(pane), QColor(255, 255, 0));
    tick();
    QCOMPARE(pane.scroller().position(), home - pane.frequencyValue());
}

}  // namespace widgettools
