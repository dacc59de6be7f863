#include "benchwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <map>

#include "ui/script/scripttext.h"
#include "widgettools.h"

namespace velloran::bench {

namespace {
std::map<std::pair<ScriptSize, bool>, std::unique_ptr<BenchWindow>>& windows()
{
    static std::map<std::pair<ScriptSize, bool>, std::unique_ptr<BenchWindow>> all;
    return all;
}

BenchWindow& windowFor(ScriptSize size, bool wholeScript)
{
    auto& all = windows();
    auto found = all.find({size, wholeScript});
    if (found == all.end()) {
        found = all.emplace(std::pair {size, wholeScript},
                            std::make_unique<BenchWindow>(scriptBytes(size), wholeScript))
                    .first;
        if (wholeScript)
            found->second->settleLayout();
    }
    return *found->second;
}
}  // namespace

bool PaintCounter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint) {
        ++all;
        if (qobject_cast<const ui::ScriptText*>(watched->parent()))
            ++text;
    }
    return false;
}

BenchWindow::BenchWindow(const QByteArray& script, bool wholeScript)
{
    m_services.folder = m_dir.path();
    testing::writeBytes(scriptPath(), script);
    m_session = std::make_unique<session::AppSession>(m_services);
    m_window = std::make_unique<ui::frmSet>(*m_session);
    m_window->Form_Load();
    // The lazy layout's idle-time slices run as the event loop gives them time.
    QList<QTimer*> timers = m_window->findChildren<QTimer*>();
    timers.removeIf([](const QTimer* timer) { return timer->objectName() == QLatin1String("tLayout"); });
    timers.append(m_session->clockTimer());
    m_timers = std::make_unique<ManualTimers>(timers);
    m_tScroll = m_window->findChild<QTimer*>(QStringLiteral("tScroll"));
    m_paints = std::make_unique<PaintCounter>();
    qApp->installEventFilter(m_paints.get());
    m_window->show();
    pane().loadScriptFromFile(scriptPath(), true);
    if (wholeScript)
        m_session->setWholeScriptReachable(true);
    settle();
}

BenchWindow::~BenchWindow()
{
    qApp->removeEventFilter(m_paints.get());
}

BenchWindow& BenchWindow::forSize(ScriptSize size)
{
    return windowFor(size, false);
}

BenchWindow& BenchWindow::forWholeScript(ScriptSize size)
{
    return windowFor(size, true);
}

double BenchWindow::settleLayout()
{
    QElapsedTimer clock;
    clock.start();
    while (!text().layoutSettled())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return clock.nsecsElapsed() / 1e9;
}

void BenchWindow::releaseAll()
{
    windows().clear();
}

ui::ScriptText& BenchWindow::text()
{
    return *widgettools::texOf(m_window.get());
}

ui::ReadingPane& BenchWindow::pane()
{
    return widgettools::paneOf(m_window.get());
}

QString BenchWindow::scriptPath() const
{
    return m_dir.filePath(QStringLiteral("script.txt"));
}

void BenchWindow::settle()
{
    QCoreApplication::processEvents();
}

void BenchWindow::place(float position)
{
    pane().scroller().setPosition(position);
    pane().ShowPosition();
    settle();
}

void BenchWindow::setPlaying(bool playing)
{
    if (pane().playing() != playing)
        pane().TogglePlay();
    settle();
}

void BenchWindow::tick()
{
    m_timers->expire(m_tScroll);
}

}  // namespace velloran::bench
