#pragma once

// The program as the widget tests start it: a session over a fresh program folder with the
// operating system faked, its main window, and the full-screen window its square button opens.
// Time is the test's: the tick and the clock expire only when a test says so.
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cmath>
#include <memory>
#include <sys/stat.h>  // mkfifo: pipes where files are expected
#include <unistd.h>    // alarm: a time-out of its own for what could hang

#include "fakeservices.h"
#include "manualtimers.h"
#include "session/appsession.h"
#include "testfiles.h"
#include "ui/fullscreen/frmfull.h"
#include "ui/mainwindow/frmset.h"
#include "ui/pane/readingpane.h"
#include "ui/script/scripttext.h"
#include "widgettools.h"

using namespace Qt::StringLiterals;
using velloran::testing::ScopedEnv;
using velloran::ui::frmFull;
using velloran::ui::frmSet;

class Harness {
public:
    QTemporaryDir folder;
    FakeServices services;
    std::unique_ptr<velloran::session::AppSession> session;
    std::unique_ptr<frmSet> window;
    QPointer<frmFull> full;
    std::unique_ptr<ManualTimers> time;

    Harness();
    ~Harness();

    QString path(const QString& name) const { return folder.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;
    void writePreferences(const QByteArray& content) const;  // where the session reads them
    QByteArray settingsBytes() const;                        // the Settings.ini the session writes
    // A file in the folder made the backup script.
    QString designateBackup(const QByteArray& content);

    // Start-up as the program does it: load, then show the window active. False when the window
    // did not come up (another copy runs, or no activation). `slowest`: the speed spinner at its
    // slowest, so that the real tick stays out of the way of the ticks a test delivers.
    bool start(bool slowest = false);
    // The full-screen window, opened by the main window's own button, active, its script focused.
    frmFull* openFullScreen();

    frmSet& w() const { return *window; }
    velloran::ui::ReadingPane& pane() const { return widgettools::paneOf(window.get()); }
    velloran::ui::ScriptText* tex() const { return widgettools::texOf(window.get()); }
    template <typename T = QWidget> T* child(const char* name) const
    {
        return widgettools::child<T>(window.get(), name);
    }
    QTimer* timer(const char* name) const;  // tScroll in the window, tTime in the session
    QString text(const char* label) const;
    // Twips to pixels on the screen the window is on (1440 twips to its logical inch).
    int px(double twips) const;
    // One expiry of the named timer (tScroll, tTime); false when it is not running.
    bool expire(const char* timer) const;
    // What the window's notice shows, empty while it is hidden.
    QString notice() const;
    float position() const;
    QString script() const;
    // Keys arrive through the window system, as the user's do: accelerators first, then the
    // focused control.
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const;

    // A pointer movement with the given buttons held, straight to the widget under the press.
    static void moveHeld(QWidget* widget, QPointF pos, Qt::MouseButtons held);
    // A pointer movement with no button held, through the window system, so the control that is
    // really under the pointer gets it.
    static void hover(QWidget* widget, QPoint pos = QPoint());
    static void doubleClick(QWidget* widget, QPoint pos = QPoint());
};

// Shared by the tests of getting a script in.
// A start from a known state: script "script" at -5000, the clock at 2 : 5, slowest speed so no
// tick moves the script during a test; and the backup path given.
void prepare(Harness& h, const QString& backup = QString());
// Drags the data over the widget and drops it there; true when the drag was accepted.
bool dropOn(QWidget* target, const QMimeData& data);
void openTextFinder(Harness& h);
void expectUntouched(Harness& h);
