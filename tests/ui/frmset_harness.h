#pragma once

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <cmath>
#include <memory>
#include <sys/stat.h>  // mkfifo: pipes where files are expected
#include <unistd.h>    // alarm: a time-out of its own for what could hang

#include "fakeservices.h"
#include "manualtimers.h"
#include "ui/frmfull.h"
#include "ui/frmset.h"
#include "ui/readingpane.h"
#include "ui/scripttext.h"

using namespace Qt::StringLiterals;
using velloran::ui::frmSet;
using velloran::ui::SharedValues;

// Sets an environment variable for the life of the object, then puts back what was there.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : m_name(name), m_old(qgetenv(name)), m_had(qEnvironmentVariableIsSet(name))
    {
        qputenv(name, value);
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    QByteArray m_old;
    bool m_had;
};

// A fresh main window in its own temporary program folder, with the operating system faked.
// Time is the test's: the tick and the clock expire only when a test says so (expire).
class Harness {
public:
    QTemporaryDir folder;
    FakeServices services;
    SharedValues shared;
    std::unique_ptr<frmSet> window;
    std::unique_ptr<ManualTimers> time;

    Harness() { services.folder = folder.path(); }

    QString path(const QString& name) const { return folder.filePath(name); }

    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray read(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Start-up as the program does it: load, then show the window active. False when the
    // window did not come up (another copy runs, or no activation).
    bool start()
    {
        window = std::make_unique<frmSet>(services, shared);
        time =
            std::make_unique<ManualTimers>(QList<QTimer*> {child<QTimer>("tScroll"), child<QTimer>("tTime")});
        if (!window->Form_Load())
            return false;
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    }

    frmSet& w() const { return *window; }

    template <typename T = QWidget> T* child(const char* name) const
    {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        if (!found)
            qFatal("no control named %s", name);
        return found;
    }

    QString text(const char* label) const { return child<QLabel>(label)->text(); }
    // Twips to pixels on the screen the window is on (1440 twips to its logical inch).
    int px(double twips) const
    {
        return static_cast<int>(std::lround(twips * window->screen()->logicalDotsPerInchY() / 1440));
    }
    // One expiry of the named timer (tScroll, tTime); false when it is not running.
    bool expire(const char* timer) const { return time->expire(child<QTimer>(timer)); }
    // What the window's notice shows, empty while it is hidden.
    QString notice() const
    {
        const QLabel* shown = child<QLabel>("lNotice");
        return shown->isVisible() ? shown->text() : QString();
    }
    float position() const { return window->pane().scroller().position(); }
    QString script() const { return window->tex()->toPlainText(); }

    // Keys arrive through the window system, as the user's do: accelerators first, then the
    // focused control.
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const
    {
        QTest::keyClick(window->windowHandle(), key, modifiers);
    }

    // A pointer movement with the given buttons held, straight to the widget under the press.
    static void moveHeld(QWidget* widget, QPointF pos, Qt::MouseButtons held)
    {
        QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, held,
                         Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }

    // A pointer movement with no button held, through the window system, so the control that is
    // really under the pointer gets it.
    static void hover(QWidget* widget, QPoint pos = QPoint())
    {
        // From outside the window first: a pointer already at the target would not move.
        QCursor::setPos(widget->window()->geometry().topLeft() - QPoint(5, 5));
        QTest::mouseMove(widget, pos.isNull() ? widget->rect().center() : pos);
    }

    static void doubleClick(QWidget* widget, QPoint pos = QPoint())
    {
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, pos);
        QTest::mouseDClick(widget, Qt::LeftButton, Qt::NoModifier, pos);
        QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, pos);
    }
};

// Shared by the tests of getting a script in.
// A start from a known state: script "script" at -5000, the clock at 2 : 5, slowest speed so no
// tick moves the script during a test; and the backup path given.
inline void prepare(Harness& h, const QString& backup = QString())
{
    h.write(u"Settings.ini"_s, "2000,10,27.75,-5000,\"" + backup.toUtf8() + "\",2,5,\"script\"\r\n");
}

// Drags the data over the widget and drops it there; true when the drag was accepted.
inline bool dropOn(QWidget* target, const QMimeData& data)
{
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return enter.isAccepted();
}

inline void openTextFinder(Harness& h)
{
    QTest::mouseClick(h.child("cFile"), Qt::LeftButton);
}

inline void expectUntouched(Harness& h)
{
    QCOMPARE(h.script(), u"script"_s);
    QCOMPARE(h.position(), -5000.0f);
    QCOMPARE(h.text("lTime"), u"Run Time  2 : 5"_s);
}

// Opens the full-screen window by the main window's own button.
inline velloran::ui::frmFull* openFullScreen(Harness& h)
{
    QTest::mouseClick(h.child("cFull"), Qt::LeftButton);
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == u"frmFull" && window->isVisible())
            return qobject_cast<velloran::ui::frmFull*>(window);
    qFatal("the full-screen window did not open");
}
