#include "widgettools.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cmath>

#include "engine/scroller.h"
#include "manualtimers.h"
#include "ui/pane/layouttargets.h"
#include "ui/pane/readingpane.h"
#include "ui/script/scriptsurface.h"
#include "ui/script/scripttext.h"
#include "ui/widgets/arrowspinner.h"
#include "ui/widgets/navigationbar.h"

namespace widgettools {

void noControl(const char* name)
{
    qFatal("no control named %s", name);
}

velloran::ui::ReadingPane& paneOf(const QWidget* window)
{
    return *child<velloran::ui::ReadingPane>(window, "pane");
}

velloran::ui::ScriptText* texOf(const QWidget* window)
{
    return child<velloran::ui::ScriptText>(window, "Tex");
}

void click(QWidget* window, const char* name, Qt::MouseButton button)
{
    QTest::mouseClick(child(window, name), button);
}

QString caption(QWidget* window, const char* name)
{
    return child<QLabel>(window, name)->text();
}

void setSpinner(QWidget* window, const char* name, int value)
{
    child<velloran::ui::ArrowSpinner>(window, name)->setValue(value);
}

void tick(QWidget* window)
{
    QVERIFY(expireNow(child<QTimer>(window, "tScroll")));
}

void key(Qt::Key code, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(QApplication::focusWidget(), code, modifiers);
}

void altKey(QWidget* window, Qt::Key code, const char* button)
{
    QSignalSpy clicked(child<QAbstractButton>(window, button), &QAbstractButton::clicked);
    key(code, Qt::AltModifier);
    QCOMPARE(clicked.count(), 1);
}

double twipsPerPixel()
{
    return 1440 / QGuiApplication::primaryScreen()->logicalDotsPerInchY();
}

QColor scriptColour(const QWidget* window)
{
    return texOf(window)->palette().color(QPalette::Text);
}

bool wholeAndOnTop(QWidget* control)
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

void holdAltKey(QWindow* window, Qt::Key key, const QString& text, int repeats)
{
    QTest::simulateEvent(window, true, Qt::Key_Alt, Qt::NoModifier, QString(), false);
    for (int i = 0; i <= repeats; ++i)
        QTest::simulateEvent(window, true, key, Qt::AltModifier, text, i > 0);
    QTest::simulateEvent(window, false, key, Qt::AltModifier, text, false);
    QTest::simulateEvent(window, false, Qt::Key_Alt, Qt::AltModifier, QString(), false);
}

void pressTenTimes(QWindow* window, const AltShortcut& shortcut, bool held)
{
    if (held) {
        holdAltKey(window, shortcut.key, QString::fromLatin1(shortcut.text), 9);
        return;
    }
    for (int i = 0; i < 10; ++i)
        QTest::keyClick(window, shortcut.key, Qt::AltModifier);
}

void expectLayoutsReachTheirControls(QWidget* window, const QObject* session,
                                     std::initializer_list<velloran::engine::Layout> layouts)
{
    using velloran::engine::LayoutControl;
    const velloran::ui::LayoutTargets& targets = paneOf(window).layoutTargets();
    for (const velloran::engine::Layout& layout : layouts) {
        for (const velloran::engine::LayoutStep& step : layout) {
            const QString name = QString::fromLatin1(velloran::engine::controlName(step.control));
            QVERIFY2(targets.has(step.control), qPrintable(name + QStringLiteral(" is not registered")));
            if (step.control == LayoutControl::Playing)
                continue;  // a flag, not a control
            const QObject* named = step.control == LayoutControl::window ? window : window->findChild<QObject*>(name);
            if (!named)
                named = session->findChild<QObject*>(name);
            QVERIFY2(named, qPrintable(QStringLiteral("the window has no control named ") + name));
            QCOMPARE(targets.object(step.control), named);
        }
    }
}

QString variedLines(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << QStringLiteral("line %1 ").arg(i) + QString(i % 9 * 11, u'x');
    return lines.join(u'\n');
}

void dragOnBar(QWidget* window, double fraction)
{
    QWidget* tip = child(window, "Tip");
    const QPointF at(tip->width() / 2.0, fraction * tip->height());
    QMouseEvent move(QEvent::MouseMove, at, tip->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tip, &move);
}

void expectWholeScriptRange(QWidget* window, double home, const std::function<void()>& tick)
{
    velloran::ui::ReadingPane& pane = paneOf(window);
    const auto* surface = child<velloran::ui::ScriptSurface>(window, "Scroll");
    const auto* bar = child<velloran::ui::NavigationBar>(window, "Tip");
    QTRY_VERIFY(texOf(window)->layoutSettled());
    const double wrap = std::floor(surface->lastLineGone());
    QVERIFY2(wrap < -300000, qPrintable(QString::number(wrap)));
    QCOMPARE(pane.scroller().range().wrapLimit, wrap);
    QCOMPARE(bar->scaleHeight(), -wrap);

    dragOnBar(window, 0);  // the top of the bar: the end
    QCOMPARE(pane.scroller().position(), wrap);
    QCOMPARE(scriptColour(window), QColor(255, 255, 0));
    dragOnBar(window, 1);  // the bottom: the start
    QCOMPARE(pane.scroller().position(), 0.0);
    dragOnBar(window, 0.5);
    QVERIFY(std::abs(pane.scroller().position() - wrap / 2) <= -wrap / bar->height());

    const int frequency = pane.frequencyValue();
    pane.TogglePlay();
    // Playing, the full-screen script is wider: its lines are laid out again and its end moves.
    QTRY_VERIFY(texOf(window)->layoutSettled());
    const double playingWrap = pane.scroller().range().wrapLimit;
    QCOMPARE(playingWrap, std::floor(surface->lastLineGone()));
    pane.setPosition(velloran::engine::kWrapLimit);
    tick();
    QCOMPARE(pane.scroller().position(), velloran::engine::kWrapLimit - frequency);
    QCOMPARE(scriptColour(window), QColor(Qt::white));
    pane.setPosition(playingWrap + 10000 + frequency);
    tick();
    QCOMPARE(scriptColour(window), QColor(Qt::white));
    tick();
    QCOMPARE(scriptColour(window), QColor(255, 255, 0));
    pane.setPosition(playingWrap);
    tick();
    QCOMPARE(pane.scroller().position(), home - frequency);
    QCOMPARE(scriptColour(window), QColor(Qt::white));
}

void expectClassicRangeBackAtOnce(QWidget* window, double home, const std::function<void(bool)>& setOption,
                                  const std::function<void()>& tick)
{
    velloran::ui::ReadingPane& pane = paneOf(window);
    pane.setPosition(-400000);
    pane.ShowPosition();
    setOption(false);
    QCOMPARE(pane.scroller().range(), velloran::engine::ScrollRange {});
    QCOMPARE(child<velloran::ui::NavigationBar>(window, "Tip")->scaleHeight(),
             double(velloran::engine::kSurfaceHeight));
    QCOMPARE(pane.scroller().position(), -400000.0);
    QCOMPARE(scriptColour(window), QColor(255, 255, 0));
    tick();
    QCOMPARE(pane.scroller().position(), home - pane.frequencyValue());
}

}  // namespace widgettools
