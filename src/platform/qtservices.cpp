#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

#include "platform/services.h"

namespace velloran::platform {

QtServices::QtServices() = default;
QtServices::~QtServices() = default;

QString QtServices::programFolder() const
{
    return QCoreApplication::applicationDirPath();
}

QString QtServices::dataFolder() const
{
    return findDataFolder(programFolder(), QStringLiteral(VELLORAN_INSTALLED_DATA_DIR));
}

QString findDataFolder(const QString& programFolder, const QString& installedDataFolder)
{
    const QString helpFile = QStringLiteral("/help.txt");
    if (QFileInfo(programFolder + helpFile).isFile())
        return programFolder;
    const QString installed = QDir::cleanPath(programFolder + u'/' + installedDataFolder);
    return QFileInfo(installed + helpFile).isFile() ? installed : programFolder;
}

bool QtServices::acquireSingleInstance()
{
    // Per user: the runtime folder is private to the user. QLockFile records the owner's process,
    // so a lock left by a crashed copy is recognised as stale and taken over.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    QDir().mkpath(folder);
    m_lock = std::make_unique<QLockFile>(folder + u"/velloran.lock");
    m_lock->setStaleLockTime(0);
    return m_lock->tryLock(0);
}

std::optional<QString> QtServices::clipboardText() const
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return std::nullopt;
    const QMimeData* data = clipboard->mimeData();
    if (!data)
        return QString();
    return data->hasText() ? data->text() : QString();
}

QStringList editorCandidates()
{
    return {u"gnome-text-editor"_qs, u"gedit"_qs,     u"mousepad"_qs, u"kate"_qs,
            u"kwrite"_qs,            u"xed"_qs,       u"pluma"_qs,    u"featherpad"_qs,
            u"leafpad"_qs,           u"geany"_qs,     u"xedit"_qs};
}

void QtServices::startEditor()
{
    for (const QString& name : editorCandidates()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty()) {
            QProcess::startDetached(path, {});
            return;
        }
    }
}

void QtServices::startWindowMove(QWidget* window)
{
    if (QWindow* handle = window ? window->windowHandle() : nullptr)
        handle->startSystemMove();
}

void QtServices::endNow()
{
    std::fflush(nullptr);
    std::_Exit(0);
}

}  // namespace velloran::platform
