#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTextBlock>

#include <functional>
#include <future>

#include "session/settingsrecord.h"

class QTextDocument;
class QTimer;
class QWidget;

namespace velloran::ui {

// Keeps a recovery copy of the working state beside Settings.ini, in the same record format, so
// that a crash, a killed process or a power cut costs seconds of work rather than the session.
// It is written a few seconds after the user last did something in the window or the script last
// changed, never on a tick. The script is taken out of the text box a slice at a time over
// several turns of the event loop, so no turn waits long for it, and the record is encoded and
// written crash-safe on a worker thread of the lowest priority. The window's thread never waits
// for a write, but at the end of the program.
class RecoveryCopy : public QObject {
    Q_OBJECT
public:
    // `state` gives every field but the script, as an exit would save them at that moment.
    RecoveryCopy(QWidget* window, QTextDocument* script, std::function<session::SettingsRecord()> state);
    ~RecoveryCopy() override;

    // Starts watching the window; copies go to the file.
    void start(const QString& file);
    void setDelay(int milliseconds);
    // Something changed: a copy follows once nothing more has changed for the delay.
    void noteChange();
    // The program is ending: no more copies, and the one being written is waited for, so no half
    // temporary file is left behind.
    void finish();
    // The state was saved, so the copy is no longer needed: waits for a write, then removes it.
    // Later changes make a new one.
    void discard();

signals:
    void copyWritten(bool ok);  // after each write, on the window's thread

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void collect();
    void collectSlice();
    void write();
    void writeFinished(bool ok);
    void waitForWrite();

    QWidget* m_window;
    QTextDocument* m_document;
    std::function<session::SettingsRecord()> m_state;
    QTimer* m_wait;
    QElapsedTimer m_pendingSince;
    QString m_file;
    session::SettingsRecord m_record;
    QTextBlock m_next;
    bool m_collecting = false;
    bool m_changedWhileWriting = false;
    std::future<void> m_writing;
};

}  // namespace velloran::ui
