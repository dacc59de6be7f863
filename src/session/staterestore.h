#pragma once

#include <QString>
#include <QStringList>

namespace velloran::session {

class SettingsTarget;

// What the start-up restore did, and what the user is to be told about it.
struct RestoreReport {
    QString source;  // the file restored from; empty when there was none
    bool fromRecovery = false;
    int applied = 0;       // fields applied in order; 8 = all
    QStringList messages;  // for standard error and the window's notice; empty when all went well
};

// Restores the state at start-up. The recovery copy is used instead of Settings.ini when it is
// newer (or Settings.ini is missing) and can be read as a record; otherwise Settings.ini. Fields
// are applied in order up to the first that fails. A file that exists but is not wholly restored
// (too big, unreadable, not a regular file, damaged, cut short) is moved aside before anything
// can overwrite it (see keepAside), and the messages say where it went.
RestoreReport restoreState(const QString& settingsFile, const QString& recoveryFile, SettingsTarget& target);

}  // namespace velloran::session
