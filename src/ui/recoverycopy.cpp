#include "ui/recoverycopy.h"

#include <QApplication>
#include <QFile>
#include <QTextDocument>
#include <QTimer>
#include <QWidget>

#include "session/safefile.h"
#include "ui/scripttextdocument.h"

#include <chrono>
#include <pthread.h>
#include <sched.h>
#include <unistd.h>

namespace velloran::ui {

namespace {

constexpr int kDelayMs = 2000;
// Changes that never pause still get a copy this often.
constexpr qint64 kLongestWaitMs = 20000;
// Well under 0.2 ms of copying on a slow machine: a slice never holds up a tick.
constexpr qsizetype kSliceCharacters = 16 * 1024;

// The worker yields the processor to the window's thread whenever both want it, so a copy being
// encoded and written never delays a tick.
void yieldToTheWindow()
{
    const sched_param none {};
    ::pthread_setschedparam(::pthread_self(), SCHED_IDLE, &none);
}

}  // namespace

RecoveryCopy::RecoveryCopy(QWidget* window, QTextDocument* script,
                           std::function<session::SettingsRecord()> state)
    : QObject(window), m_window(window), m_document(script), m_state(std::move(state)),
      m_wait(new QTimer(this))
{
    setObjectName(QStringLiteral("recoveryCopy"));
    m_wait->setSingleShot(true);
    m_wait->setInterval(kDelayMs);
    connect(m_wait, &QTimer::timeout, this, &RecoveryCopy::collect);
}

RecoveryCopy::~RecoveryCopy()
{
    // The text box may be gone already; its connections went with it.
    qApp->removeEventFilter(this);
    waitForWrite();
}

void RecoveryCopy::start(const QString& file)
{
    m_file = file;
    qApp->installEventFilter(this);
    connect(m_document, &QTextDocument::contentsChanged, this, &RecoveryCopy::noteChange,
            Qt::UniqueConnection);
}

void RecoveryCopy::setDelay(int milliseconds)
{
    m_wait->setInterval(milliseconds);
}

bool RecoveryCopy::eventFilter(QObject* watched, QEvent* event)
{
    // What the user does in the window: keys (Alt shortcuts too), clicks, spinner arrows, drops.
    const QEvent::Type type = event->type();
    if ((type == QEvent::KeyRelease || type == QEvent::MouseButtonRelease || type == QEvent::Drop) &&
        watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == m_window)
        noteChange();
    return false;
}

void RecoveryCopy::noteChange()
{
    if (m_file.isEmpty())
        return;
    m_collecting = false;  // a copy being taken is out of date
    if (!m_wait->isActive())
        m_pendingSince.start();
    if (m_pendingSince.elapsed() < kLongestWaitMs)
        m_wait->start();
}

void RecoveryCopy::collect()
{
    // While a copy is being written, the next one waits for it rather than the window.
    if (m_writing.valid() && m_writing.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
        m_changedWhileWriting = true;
        return;
    }
    m_record = m_state();
    m_record.script.clear();
    m_record.script.reserve(m_document->characterCount());
    m_next = m_document->begin();
    m_collecting = true;
    collectSlice();
}

void RecoveryCopy::collectSlice()
{
    if (!m_collecting)
        return;
    // Each block as the script holds it, after what the break before it stands for.
    qsizetype taken = 0;
    while (m_next.isValid() && taken < kSliceCharacters) {
        const qsizetype from = m_record.script.size();
        ScriptTextDocument::appendBlock(m_record.script, m_next);
        taken += m_record.script.size() - from;
        m_next = m_next.next();
    }
    if (m_next.isValid()) {
        QMetaObject::invokeMethod(this, &RecoveryCopy::collectSlice, Qt::QueuedConnection);
        return;
    }
    m_collecting = false;
    write();
}

void RecoveryCopy::write()
{
    waitForWrite();  // done already: collect() starts only when no write is under way
    m_writing = std::async(std::launch::async, [this, record = std::move(m_record), file = m_file] {
        yieldToTheWindow();
        const bool ok = session::writeFileSafely(file, session::writeRecord(record));
        QMetaObject::invokeMethod(
            this, [this, ok] { writeFinished(ok); }, Qt::QueuedConnection);
    });
    m_record = session::SettingsRecord();
}

void RecoveryCopy::writeFinished(bool ok)
{
    emit copyWritten(ok);
    if (m_changedWhileWriting) {
        m_changedWhileWriting = false;
        m_wait->start();
    }
}

void RecoveryCopy::waitForWrite()
{
    if (m_writing.valid())
        m_writing.wait();
}

void RecoveryCopy::finish()
{
    qApp->removeEventFilter(this);
    disconnect(m_document, nullptr, this, nullptr);
    m_wait->stop();
    m_collecting = false;
    m_changedWhileWriting = false;
    waitForWrite();
}

void RecoveryCopy::discard()
{
    m_wait->stop();
    m_collecting = false;
    m_changedWhileWriting = false;
    waitForWrite();
    if (!m_file.isEmpty())
        QFile::remove(m_file);
}

}  // namespace velloran::ui
