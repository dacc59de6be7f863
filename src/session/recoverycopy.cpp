#include "session/recoverycopy.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextDocument>
#include <QTimer>
#include <QWidget>

#include "session/safefile.h"
#include "session/settingsstore.h"
#include "session/staterestore.h"

#include <mutex>
#include <thread>

namespace velloran::session {

namespace {

constexpr int kDelayMs = 2000;
// Changes that never pause still get a copy this often.
constexpr qint64 kLongestWaitMs = 20000;
// Well under 0.2 ms of copying on a slow machine: a slice never holds up a tick.
constexpr qsizetype kSliceCharacters = 16 * 1024;

}  // namespace

// A write under way, shared with its worker thread, which may outlive the copy it writes for.
struct RecoveryCopy::Job {
    WriteAbandon abandon;
    std::mutex mutex;
    RecoveryCopy* owner = nullptr;  // to be told the outcome; cleared once it no longer wants it
};

RecoveryCopy::RecoveryCopy(QObject* parent, std::function<SettingsRecord()> state)
    : QObject(parent), m_state(std::move(state)), m_wait(new QTimer(this))
{
    setObjectName(QStringLiteral("recoveryCopy"));
    m_wait->setSingleShot(true);
    m_wait->setInterval(kDelayMs);
    connect(m_wait, &QTimer::timeout, this, &RecoveryCopy::collect);
}

RecoveryCopy::~RecoveryCopy()
{
    // The text box may be gone already; its connections went with it.
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
    giveUpWrite();
}

void RecoveryCopy::start(QWidget* window, QTextDocument* script, AppendBlock appendBlock, const QStringList& files)
{
    m_window = window;
    m_document = script;
    m_appendBlock = appendBlock;
    m_files = files;
    QCoreApplication::instance()->installEventFilter(this);
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

void RecoveryCopy::setBase(const std::optional<QByteArray>& settings)
{
    std::packaged_task<QByteArray()> digest([settings] { return settingsDigest(settings); });
    m_base = digest.get_future().share();
    std::thread(std::move(digest)).detach();
}

void RecoveryCopy::noteChange()
{
    if (m_files.isEmpty() || !m_document)
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
    if (m_job) {
        m_changedWhileWriting = true;
        return;
    }
    if (!m_document)
        return;
    m_record = m_state();
    m_record.script.clear();
    m_record.script.reserve(m_document->characterCount());
    m_next = m_document->begin();
    m_collecting = true;
    collectSlice();
}

void RecoveryCopy::collectSlice()
{
    if (!m_collecting || !m_document)
        return;
    // Each block as the script holds it, after what the break before it stands for.
    qsizetype taken = 0;
    while (m_next.isValid() && taken < kSliceCharacters) {
        const qsizetype from = m_record.script.size();
        m_appendBlock(m_record.script, m_next);
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
    m_job = std::make_shared<Job>();
    m_job->owner = this;
    // At the ordinary priority: idle-only, the worker got no processor while anything else
    // wanted it, and a nicer one still waited many seconds on a busy machine. Its work is brief
    // (tens of milliseconds for 10 MB) and comes seconds apart.
    std::thread([job = m_job, record = std::move(m_record), files = m_files, base = m_base] {
        QByteArray bytes = writeRecord(record);
        if (base.valid())
            bytes = recoveryCopy(std::move(bytes), base.get());
        const SaveOutcome outcome = writeRecovery(files, bytes, &job->abandon);
        const std::lock_guard lock(job->mutex);
        if (RecoveryCopy* owner = job->owner)
            QMetaObject::invokeMethod(
                owner, [owner, outcome] { owner->writeFinished(outcome); }, Qt::QueuedConnection);
    }).detach();
    m_record = SettingsRecord();
}

void RecoveryCopy::writeFinished(const SaveOutcome& outcome)
{
    m_job.reset();
    emit copyWritten(outcome.saved);
    if (!outcome.saved)
        emit copyFailed(outcome.reason);
    if (m_changedWhileWriting) {
        m_changedWhileWriting = false;
        m_wait->start();
    }
}

void RecoveryCopy::giveUpWrite()
{
    if (!m_job)
        return;
    {
        const std::lock_guard lock(m_job->mutex);
        m_job->owner = nullptr;
    }
    m_job->abandon.abandon();
    m_job.reset();
}

void RecoveryCopy::finish()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
    if (m_document)
        disconnect(m_document, nullptr, this, nullptr);
    m_wait->stop();
    m_collecting = false;
    m_changedWhileWriting = false;
    giveUpWrite();
}

void RecoveryCopy::discard()
{
    m_wait->stop();
    m_collecting = false;
    m_changedWhileWriting = false;
    giveUpWrite();
    for (const QString& file : std::as_const(m_files))
        QFile::remove(file);
}

}  // namespace velloran::session
