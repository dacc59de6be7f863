#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>

#include <functional>
#include <future>
#include <memory>
#include <optional>

#include "session/settingsrecord.h"

class QTimer;
class QWidget;

namespace velloran::session {

struct SaveOutcome;

// Keeps a recovery copy of the working state beside Settings.ini, in the same record format, so
// that a crash, a killed process or a power cut costs seconds of work rather than the session.
// It is written a few seconds after the user last did something in the window or the script last
// changed, never on a tick. The script is taken out of the text box a slice at a time over
// several turns of the event loop, so no turn waits long for it, and the record is encoded and
// written crash-safe on a worker thread of ordinary priority, so a busy processor delays it by
// seconds at most (the work is brief and comes seconds apart). The window's thread never waits
// for a write: an end or a save gives a write under way up instead.
class RecoveryCopy : public QObject {
    Q_OBJECT
public:
    // Appends a block of the script to a script being collected, after what the break before it
    // stands for (the text box groups lines into blocks).
    using AppendBlock = void (*)(QString& script, const QTextBlock& block);

    // `state` gives every field but the script, as an exit would save them at that moment.
    RecoveryCopy(QObject* parent, std::function<SettingsRecord()> state);
    ~RecoveryCopy() override;

    // Starts watching the window and its script; each copy goes to the first of the files that
    // takes it.
    void start(QWidget* window, QTextDocument* script, AppendBlock appendBlock, const QStringList& files);
    void setDelay(int milliseconds);
    // What the copies are made from: Settings.ini's bytes as read at the start or last saved
    // (nothing when there is none). Its digest is worked out on a thread of its own.
    void setBase(const std::optional<QByteArray>& settings);
    // Something changed: a copy follows once nothing more has changed for the delay.
    void noteChange();
    // The program is ending: no more copies, and one being written is given up, its temporary
    // file removed, without waiting for it.
    void finish();
    // The state was saved, so the copy is no longer needed: a write under way is given up and the
    // copies are removed. Later changes make a new one.
    void discard();

signals:
    void copyWritten(bool ok);  // after each write, on the window's thread
    // No place took the copy; the reason names each place with its own.
    void copyFailed(const QString& reason);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Job;

    void collect();
    void collectSlice();
    void write();
    void writeFinished(const SaveOutcome& outcome);
    void giveUpWrite();

    QWidget* m_window = nullptr;
    QPointer<QTextDocument> m_document;
    AppendBlock m_appendBlock = nullptr;
    std::function<SettingsRecord()> m_state;
    QTimer* m_wait;
    QElapsedTimer m_pendingSince;
    QStringList m_files;
    std::shared_future<QByteArray> m_base;  // not valid: no base known, none is written
    SettingsRecord m_record;
    QTextBlock m_next;
    bool m_collecting = false;
    bool m_changedWhileWriting = false;
    std::shared_ptr<Job> m_job;  // the write under way
};

}  // namespace velloran::session
