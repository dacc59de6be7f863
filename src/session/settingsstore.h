#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

#include "session/safefile.h"
#include "session/textlimit.h"

namespace velloran::session {

// The user's configuration folder for the program: ~/.config/Velloran (XDG_CONFIG_HOME honoured).
QString userConfigFolder();

// Where the state is written: the program folder when a file can be created there, otherwise the
// user's configuration folder (created when missing), so an installed copy keeps its state.
QString settingsFolder(const QString& programFolder);
QString settingsPath(const QString& folder);  // folder + "/Settings.ini"
QString recoveryPath(const QString& folder);  // folder + "/Settings.recovery"
// Where a recovery copy may be, in the order it is tried: beside the Settings.ini that is written,
// then in the configuration folder.
QStringList recoveryPaths(const QString& folder);

// Where the state is read at start-up, given the folder it is written to (settingsFolder). When
// that is the program folder, its file, or the configuration folder's when that one is newer (a
// save that could not be written beside the program went there). Otherwise the configuration
// folder's file; when it has none, the file older versions kept in ~/.config/Velloran/Velloran,
// then one in the program folder.
QString settingsFileToRead(const QString& programFolder, const QString& writtenFolder);

// Where a save went, or where it was tried and why it failed.
struct SaveOutcome {
    bool saved = false;
    QString file;
    QString reason;
};

// Writes the record as the folder's Settings.ini; when that fails, as the configuration folder's.
// After a save there, the file older versions kept in ~/.config/Velloran/Velloran is renamed
// Settings.ini.old, so it is read no more.
SaveOutcome saveRecord(const QString& folder, const QByteArray& record);

// Writes a recovery copy to the first of the files that takes it (the folder is made when
// missing) and removes the copies in the others, which are older. When none takes it, the reason
// names each file with its own.
SaveOutcome writeRecovery(const QStringList& files, const QByteArray& bytes, WriteAbandon* abandon = nullptr);

// A script file read whole and decoded. A file beyond the script limit is refused with a message
// for the user in `refusal`; any other failure leaves both empty and is not reported.
struct ScriptLoad {
    std::optional<QString> text;
    QString refusal;
};
ScriptLoad loadScriptFile(const QString& path);

// A text file read whole and decoded (see decodeText), or nothing when it cannot be read.
std::optional<QString> loadTextFile(const QString& path);

// The characters after the last '/' or '\', or the whole path when it has neither.
QString fileNamePart(const QString& path);

}  // namespace velloran::session
