#include "session/settingsstore.h"

#include "session/textcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <algorithm>

namespace velloran::session {

namespace {

// Actually creating a file is the only reliable test: permission bits say nothing for root, for
// ACLs or for a read-only mount.
bool canCreateFileIn(const QString& folder)
{
    QTemporaryFile probe(folder + u"/.velloran-probe-XXXXXX");
    return probe.open();  // removed again when probe goes out of scope
}

QString olderVersionsFile()
{
    return settingsPath(userConfigFolder() + u"/Velloran");
}

}  // namespace

QString userConfigFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u"/Velloran";
}

QString settingsFolder(const QString& programFolder)
{
    if (!programFolder.isEmpty() && canCreateFileIn(programFolder))
        return programFolder;
    const QString fallback = userConfigFolder();
    QDir().mkpath(fallback);
    return fallback;
}

QString settingsPath(const QString& folder)
{
    return folder + u"/Settings.ini";
}

QString recoveryPath(const QString& folder)
{
    return folder + u"/Settings.recovery";
}

QString settingsFileToRead(const QString& programFolder, const QString& writtenFolder)
{
    const QString written = settingsPath(writtenFolder);
    const QString config = settingsPath(userConfigFolder());
    if (programFolder.isEmpty() || writtenFolder == programFolder) {
        const QFileInfo beside(written);
        const QFileInfo fallback(config);
        if (fallback.exists() && (!beside.exists() || fallback.lastModified() > beside.lastModified()))
            return config;
        return written;
    }
    for (const QString& candidate : {written, olderVersionsFile(), settingsPath(programFolder)})
        if (QFileInfo::exists(candidate))
            return candidate;
    return written;
}

QStringList recoveryPaths(const QString& folder)
{
    QStringList paths {recoveryPath(folder)};
    if (const QString config = recoveryPath(userConfigFolder()); config != paths.front())
        paths << config;
    return paths;
}

SaveOutcome writeRecovery(const QStringList& files, const QByteArray& bytes, WriteAbandon* abandon)
{
    SaveOutcome outcome;
    QStringList failures;
    for (const QString& file : files) {
        QString reason;
        QDir().mkpath(QFileInfo(file).absolutePath());
        if (writeFileSafely(file, bytes, &reason, abandon)) {
            outcome = {true, file, {}};
            break;
        }
        if (abandon && abandon->abandoned())
            return {false, file, reason};
        failures << file + QStringLiteral(": ") + reason;
    }
    if (!outcome.saved)
        return {false, files.value(0), failures.join(QStringLiteral("; "))};
    for (const QString& file : files)
        if (file != outcome.file)
            QFile::remove(file);
    return outcome;
}

SaveOutcome saveRecord(const QString& folder, const QByteArray& record)
{
    SaveOutcome outcome;
    outcome.file = settingsPath(folder);
    outcome.saved = writeFileSafely(outcome.file, record, &outcome.reason);
    const QString config = userConfigFolder();
    if (!outcome.saved && folder != config && QDir().mkpath(config)) {
        QString ignored;
        if (writeFileSafely(settingsPath(config), record, &ignored))
            return {true, settingsPath(config), {}};
    }
    if (outcome.saved && folder == config && QFileInfo::exists(olderVersionsFile()))
        QFile::rename(olderVersionsFile(), olderVersionsFile() + u".old");
    return outcome;
}

ScriptLoad loadScriptFile(const QString& path)
{
    ScriptLoad load;
    const FileRead read = readFile(path, kMaxScriptFileBytes);
    if (read.failure == ReadFailure::TooBig)
        load.refusal = fileTooBig(fileNamePart(path), read.size);
    if (!read.bytes)
        return load;
    QString text = decodeText(*read.bytes);
    const qint64 characters = scriptCharacters(text);
    if (characters > kMaxScriptCharacters)
        load.refusal = fileTooLong(fileNamePart(path), characters);
    else
        load.text = std::move(text);
    return load;
}

std::optional<QString> loadTextFile(const QString& path)
{
    const auto bytes = readWholeFile(path, kMaxScriptFileBytes);
    if (!bytes)
        return std::nullopt;
    return decodeText(*bytes);
}

QString fileNamePart(const QString& path)
{
    const qsizetype separator = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.sliced(separator + 1);
}

}  // namespace velloran::session
