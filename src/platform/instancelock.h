#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QLockFile;

namespace velloran::platform {

// True when the process is another one than this, alive, of this user and running this program
// (by the name of its executable, or of its command when the executable cannot be read).
bool isAnotherCopy(qint64 pid);

// The per-user single-instance lock. It is taken in the first of the folders where a lock can be
// made. A lock whose recorded process has ended, or is not another copy of this program (its
// number was used again, by another program or by this very process), is taken over. When no folder can hold
// a lock the program starts without one.
class InstanceLock {
public:
    explicit InstanceLock(QStringList folders);
    ~InstanceLock();

    // False only when another copy of the program holds the lock.
    bool acquire();
    // Gives the lock up, so a copy started later is not refused by a file left behind.
    void release();
    // What the user is told about where the lock went (empty when it is where it belongs).
    QString warning() const { return m_warning; }
    QString lockFile() const;

private:
    QStringList m_folders;
    std::unique_ptr<QLockFile> m_lock;
    QString m_warning;
};

}  // namespace velloran::platform
