#include "session/settingsstore.h"

#include "session/textcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <algorithm>

namespace velloran::session {

namespace {

constexpr qint64 kReadChunk = 1024 * 1024;

// Actually creating a file is the only reliable test: permission bits say nothing for root, for
// ACLs or for a read-only mount.
bool canCreateFileIn(const QString& folder)
{
    QTemporaryFile probe(folder + u"/.velloran-probe-XXXXXX");
    return probe.open();  // removed again when probe goes out of scope
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

QString settingsFileToRead(const QString& programFolder, const QString& writtenFolder)
{
    const QString written = settingsPath(writtenFolder);
    if (programFolder.isEmpty() || writtenFolder == programFolder)
        return written;
    const QString olderVersions = settingsPath(userConfigFolder() + u"/Velloran");
    for (const QString& candidate : {written, olderVersions, settingsPath(programFolder)})
        if (QFileInfo::exists(candidate))
            return candidate;
    return written;
}

std::optional<QByteArray> readWholeFile(const QString& path, qint64 maxBytes)
{
    if (QFileInfo(path).isDir())
        return std::nullopt;
    QFile file(path);  // closed by its destructor on every path
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    if (file.size() > maxBytes)
        return std::nullopt;

    // Read in chunks rather than trusting the size: a device or pipe reports none and may not end.
    QByteArray data;
    data.reserve(file.size());
    QByteArray chunk(kReadChunk, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(chunk.data(), std::min(kReadChunk, maxBytes - data.size() + 1));
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        data.append(chunk.constData(), got);
        if (data.size() > maxBytes)
            return std::nullopt;
    }
    return data;
}

bool writeFileSafely(const QString& path, const QByteArray& data)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

std::optional<QString> loadTextFile(const QString& path)
{
    const auto bytes = readWholeFile(path, kMaxTextFileBytes);
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
