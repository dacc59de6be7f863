#include "session/staterestore.h"

#include "session/safefile.h"
#include "session/settingsrecord.h"
#include "session/textcodec.h"
#include "session/textlimit.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>

namespace velloran::session {

namespace {

struct Attempt {
    int applied = 0;
    bool fieldsRead = false;  // the file held a whole record
    QString why;              // when not wholly restored
};

Attempt restoreFrom(const QString& file, SettingsTarget& target)
{
    Attempt attempt;
    const FileRead read = readFile(file, kMaxRecordBytes);
    if (!read.bytes) {
        attempt.why = read.failure == ReadFailure::TooBig
                          ? QStringLiteral("it is too big: ") +
                                QLocale(QLocale::English).toString(read.size) +
                                QStringLiteral(" bytes, and a record is at most ") +
                                QLocale(QLocale::English).toString(kMaxRecordBytes)
                          : read.reason;
        return attempt;
    }
    const auto fields = readFields(decodeText(*read.bytes));
    attempt.fieldsRead = fields.has_value();
    if (!fields) {
        attempt.why = QStringLiteral("it is cut short or damaged");
        return attempt;
    }
    attempt.applied = applyFields(*fields, target);
    if (attempt.applied < 8)
        attempt.why = QStringLiteral("field ") + QString::number(attempt.applied + 1) +
                      QStringLiteral(" cannot be used, so only the fields before it were restored");
    return attempt;
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

bool recoveryIsNewer(const QString& settingsFile, const QString& recoveryFile)
{
    const QFileInfo recovery(recoveryFile);
    const QFileInfo settings(settingsFile);
    return recovery.exists() && (!settings.exists() || recovery.lastModified() > settings.lastModified());
}

}  // namespace

RestoreReport restoreState(const QString& settingsFile, const QString& recoveryFile, SettingsTarget& target)
{
    RestoreReport report;
    if (recoveryIsNewer(settingsFile, recoveryFile)) {
        const QDateTime written = QFileInfo(recoveryFile).lastModified();
        const Attempt attempt = restoreFrom(recoveryFile, target);
        if (attempt.fieldsRead) {
            report.source = recoveryFile;
            report.fromRecovery = true;
            report.applied = attempt.applied;
            report.messages << QStringLiteral("The work was brought back from the automatic copy ") +
                                   recoveryFile + QStringLiteral(" of ") +
                                   written.toString(Qt::ISODate).replace(u'T', u' ') +
                                   QStringLiteral(": Velloran had not ended normally.");
            if (attempt.applied < 8)
                report.messages << keptAsideMessage(recoveryFile, attempt.why);
            return report;
        }
        // A copy that holds no whole record is set aside, and the last saved state is used.
        report.messages << keptAsideMessage(recoveryFile, attempt.why);
    }
    if (!QFileInfo::exists(settingsFile))
        return report;
    const Attempt attempt = restoreFrom(settingsFile, target);
    report.source = settingsFile;
    report.applied = attempt.applied;
    if (attempt.applied < 8)
        report.messages << keptAsideMessage(settingsFile, attempt.why);
    return report;
}

}  // namespace velloran::session
