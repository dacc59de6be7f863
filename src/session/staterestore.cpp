#include "session/staterestore.h"

#include "session/safefile.h"
#include "session/settingsapply.h"
#include "session/textcodec.h"
#include "session/textlimit.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFileInfo>
#include <QLocale>

namespace velloran::session {

namespace {

const QByteArray kBaseLine("made from Settings.ini ");

QString number(qint64 value)
{
    return QLocale(QLocale::English).toString(value);
}

QString unreadable(const FileRead& read)
{
    if (read.failure != ReadFailure::TooBig)
        return read.reason;
    return QStringLiteral("it is too big: ") + number(read.size) +
           QStringLiteral(" bytes, and a record is at most ") + number(kMaxRecordBytes);
}

// Why field `applied` + 1 of a record cannot be used.
QString fieldFailure(int applied, const std::array<Field, 8>& fields)
{
    QString why = QStringLiteral("field ") + QString::number(applied + 1) + QStringLiteral(" cannot be used");
    if (applied == 7) {
        const qint64 characters = scriptCharacters(toText(fields[7]));
        if (characters > kMaxScriptCharacters)
            why += QStringLiteral(": its script holds ") + number(characters) +
                   QStringLiteral(" characters, and a script can hold at most ") +
                   number(kMaxScriptCharacters);
    }
    return why;
}

// The Settings.ini a recovery copy names as the one it was made from; nothing for a copy that
// names none (one written by an earlier version).
std::optional<QByteArray> baseOf(const QByteArray& copy)
{
    if (!copy.endsWith("\r\n"))
        return std::nullopt;
    const qsizetype start = copy.lastIndexOf("\r\n", copy.size() - 3) + 2;
    const QByteArray line = copy.sliced(start, copy.size() - 2 - start);
    if (start < 2 || !line.startsWith(kBaseLine))
        return std::nullopt;
    return line.sliced(kBaseLine.size());
}

QString keptAsideMessage(const QString& file, const QString& why)
{
    QString reason;
    const auto aside = keepAside(file, &reason);
    const QString head = file + QStringLiteral(" could not be wholly restored (") + why + QStringLiteral(")");
    if (!aside)
        return head + QStringLiteral(" and could not be kept aside (") + reason +
               QStringLiteral("); it is left where it is.");
    return head + QStringLiteral("; it is kept as ") + *aside + u'.';
}

// Why the recovery copy is not to be used, or nothing when it is: then its fields are applied.
QString tryRecovery(const QString& file, const FileRead& settings, SettingsTarget& target)
{
    const FileRead read = readFile(file, kMaxRecordBytes);
    if (!read.bytes)
        return unreadable(read);
    const auto base = baseOf(*read.bytes);
    if (base && settings.bytes && *base != settingsDigest(settings.bytes))
        return QStringLiteral("it was made from another Settings.ini than the one there now");
    const auto fields = readFields(decodeText(*read.bytes));
    if (!fields)
        return QStringLiteral("it is cut short or damaged");
    // All or nothing: a copy that cannot be used whole must not mix with the saved state.
    target.setCheckOnly(true);
    const int applicable = applyFields(*fields, target, kMaxScriptCharacters);
    target.setCheckOnly(false);
    if (applicable < 8)
        return fieldFailure(applicable, *fields);
    applyFields(*fields, target, kMaxScriptCharacters);
    return {};
}

}  // namespace

QByteArray settingsDigest(const std::optional<QByteArray>& settings)
{
    if (!settings)
        return QByteArrayLiteral("none");
    return QCryptographicHash::hash(*settings, QCryptographicHash::Sha1).toHex();
}

QByteArray recoveryCopy(QByteArray record, const QByteArray& digest)
{
    // Appended in place: a record is written with room to spare.
    record += kBaseLine;
    record += digest;
    record += "\r\n";
    return record;
}

RestoreReport restoreState(const QString& settingsFile, const QStringList& recoveryFiles,
                           SettingsTarget& target)
{
    RestoreReport report;
    const bool settingsExist = QFileInfo::exists(settingsFile);
    const FileRead settings = settingsExist ? readFile(settingsFile, kMaxRecordBytes) : FileRead();
    bool copySetAside = false;
    for (const QString& recovery : recoveryFiles) {
        if (!QFileInfo::exists(recovery))
            continue;
        const QDateTime written = QFileInfo(recovery).lastModified();
        const QString why = tryRecovery(recovery, settings, target);
        if (why.isEmpty()) {
            report.source = recovery;
            report.fromRecovery = true;
            report.applied = 8;
            report.settingsBytes = settings.bytes;
            report.messages << QStringLiteral("The work was brought back from the automatic copy ") +
                                   recovery + QStringLiteral(" of ") +
                                   written.toString(Qt::ISODate).replace(u'T', u' ') +
                                   QStringLiteral(": Velloran had not ended normally.");
            return report;
        }
        report.messages << keptAsideMessage(recovery, why);
        copySetAside = true;
    }
    if (!settingsExist)
        return report;
    report.source = settingsFile;
    QString why;
    if (!settings.bytes) {
        why = unreadable(settings);
    } else if (const auto fields = readFields(decodeText(*settings.bytes)); !fields) {
        why = QStringLiteral("it is cut short or damaged");
    } else {
        report.applied = applyFields(*fields, target, kMaxScriptCharacters);
        if (report.applied < 8)
            why = fieldFailure(report.applied, *fields) +
                  QStringLiteral(", so only the fields before it were restored");
    }
    if (!why.isEmpty()) {
        report.messages << keptAsideMessage(settingsFile, why);
        return report;
    }
    report.settingsBytes = settings.bytes;
    if (copySetAside)
        report.messages << QStringLiteral("The last saved state, ") + settingsFile +
                               QStringLiteral(", was restored instead.");
    return report;
}

}  // namespace velloran::session
