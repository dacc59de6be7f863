#pragma once

#include <QTemporaryDir>

#include <chrono>
#include <memory>

#include "fakeservices.h"
#include "session/appsession.h"
#include "ui/mainwindow/frmset.h"

namespace velloran::bench {

// The program's own start-up with a Settings.ini already in its folder: the main window built,
// Form_Load (which restores the file), shown, and waited for until the script has been painted.
// Nothing is muted: its timers run as in the program.
class StartedWindow {
public:
    using Clock = std::chrono::steady_clock;

    // The folder must hold Settings.ini; it is the program folder for the window's whole life.
    explicit StartedWindow(const QString& folder);
    ~StartedWindow();

    ui::frmSet& window() { return *m_window; }
    bool painted() const { return m_painted; }

    Clock::time_point built;   // frmSet constructed
    Clock::time_point loaded;  // Form_Load returned
    Clock::time_point shown;   // the script painted on the shown window

private:
    FakeServices m_services;
    std::unique_ptr<session::AppSession> m_session;
    std::unique_ptr<ui::frmSet> m_window;
    bool m_painted = false;
};

double millisecondsBetween(StartedWindow::Clock::time_point from, StartedWindow::Clock::time_point to);

}  // namespace velloran::bench
