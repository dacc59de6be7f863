#include "startedwindow.h"

#include "widgettools.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include "ui/script/scripttext.h"

namespace velloran::bench {

namespace {

// Notes the first paint of the script's viewport.
class FirstPaint : public QObject {
    Q_OBJECT

public:
    explicit FirstPaint(bool& painted) : m_painted(painted) { }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            m_painted = true;
        return false;
    }

private:
    bool& m_painted;
};

constexpr int kPatienceMs = 30000;  // a start-up that never paints is a fault, not a figure

}  // namespace

double millisecondsBetween(StartedWindow::Clock::time_point from, StartedWindow::Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

StartedWindow::StartedWindow(const QString& folder)
{
    m_services.folder = folder;
    m_session = std::make_unique<session::AppSession>(m_services);
    m_window = std::make_unique<ui::frmSet>(*m_session);
    built = Clock::now();
    m_window->Form_Load();
    loaded = Clock::now();
    FirstPaint watcher(m_painted);
    widgettools::texOf(m_window.get())->viewport()->installEventFilter(&watcher);
    m_window->show();
    const QDeadlineTimer patience(kPatienceMs);
    while (!m_painted && !patience.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    shown = Clock::now();
    widgettools::texOf(m_window.get())->viewport()->removeEventFilter(&watcher);
}

StartedWindow::~StartedWindow() = default;

}  // namespace velloran::bench

#include "startedwindow.moc"
