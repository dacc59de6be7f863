#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace velloran::session {

class SettingsTarget;

// What the start-up restore did, and what the user is to be told about it.
struct RestoreReport {
    QString source;  // the file restored from; empty when there was none
    bool fromRecovery = false;
    int applied = 0;       // fields applied in order; 8 = all
    QStringList messages;  // for standard error and the window's notice; empty when all went well
    // Settings.ini as it stands after the restore, when it could be read: what the recovery copies
    // made from now on are based on (see recoveryCopy).
    std::optional<QByteArray> settingsBytes;
};

// Restores the state at start-up. A recovery copy exists only after an abnormal end (every normal
// end removes it), so it is newer than the Settings.ini it was made from whatever the files' dates
// say: it is used instead of Settings.ini when it was made from the Settings.ini that is there now
// (or that one is missing or unreadable), holds a whole record and every one of its eight fields
// applies; otherwise it is kept aside (see keepAside), the messages say why, and Settings.ini is
// used. The copies are tried in the order given. Settings.ini's fields are applied in order up to
// the first that fails, a script beyond the script limit included. A file that exists but is not
// wholly restored (too big, unreadable, not a regular file, damaged, cut short) is moved aside
// before anything can overwrite it, and the messages say where it went.
RestoreReport restoreState(const QString& settingsFile, const QStringList& recoveryFiles,
                           SettingsTarget& target);

// Names the Settings.ini a recovery copy was made from by its bytes ("none" when there was none).
QByteArray settingsDigest(const std::optional<QByteArray>& settings);

// A recovery copy's bytes: the record, then a line with the digest of the Settings.ini it was made
// from. Whatever follows a record's eighth field is not read as part of it.
QByteArray recoveryCopy(QByteArray record, const QByteArray& digest);

}  // namespace velloran::session
