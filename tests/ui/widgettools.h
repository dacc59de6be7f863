#pragma once

#include <QPoint>
#include <QRect>
#include <QTest>
#include <QWidget>
#include <QWindow>

// Checks and inputs that the widget tests of both windows share.
namespace widgettools {

// The control is whole and in front: its centre and its four corners reach it, not a control
// stacked over it, and none lies outside its window.
inline bool wholeAndOnTop(QWidget* control)
{
    QWidget* window = control->window();
    const QRect area = control->rect().adjusted(1, 1, -1, -1);
    for (const QPoint at : {area.center(), area.topLeft(), area.topRight(), area.bottomLeft(), area.bottomRight()}) {
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

}  // namespace widgettools
