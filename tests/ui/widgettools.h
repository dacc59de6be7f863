#pragma once

#include <QPoint>
#include <QRect>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <initializer_list>

#include "ui/layouttargets.h"

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

}  // namespace widgettools
