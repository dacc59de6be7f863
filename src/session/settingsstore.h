#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace velloran::session {

// Scripts, help.txt and Settings.ini are read whole; beyond this size a file is refused rather
// than exhaust memory.
inline constexpr qint64 kMaxTextFileBytes = qint64(128) * 1024 * 1024;

// The user's configuration folder for the program: ~/.config/Velloran (XDG_CONFIG_HOME honoured).
QString userConfigFolder();

// Where the state is written: the program folder when a file can be created there, otherwise the
// user's configuration folder (created when missing), so an installed copy keeps its state.
QString settingsFolder(const QString& programFolder);
QString settingsPath(const QString& folder);  // folder + "/Settings.ini"

// Where the state is read at start-up, given the folder it is written to (settingsFolder). When
// that is the program folder, its file. Otherwise the configuration folder's file; when it has
// none, the file older versions kept in ~/.config/Velloran/Velloran, then one in the program folder.
QString settingsFileToRead(const QString& programFolder, const QString& writtenFolder);

// The whole file, or nothing when it is missing, unreadable, a directory or larger than maxBytes.
std::optional<QByteArray> readWholeFile(const QString& path, qint64 maxBytes);

// Writes to a temporary file beside the target and renames it over the target only once complete
// and flushed; on any failure the previous file stays whole and false is returned.
bool writeFileSafely(const QString& path, const QByteArray& data);

// A text file read whole and decoded (see decodeText), or nothing when it cannot be read.
std::optional<QString> loadTextFile(const QString& path);

// The characters after the last '/' or '\', or the whole path when it has neither.
QString fileNamePart(const QString& path);

}  // namespace velloran::session
