#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QWidget>
#include <QWindow>
#include <cstdlib>
#include <unistd.h>

#include "platform/instancelock.h"
#include "platform/logging.h"
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
    // Per user: the runtime folder is private to the user; the temporary folder, with the user's
    // number in the name, when the runtime folder cannot hold the lock.
    m_lock = std::make_unique<InstanceLock>(
        QStringList {QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation),
                     QDir::tempPath() + u"/velloran-" + QString::number(::getuid())});
    const bool acquired = m_lock->acquire();
    if (!m_lock->warning().isEmpty())
        qCWarning(lcPlatform).noquote() << m_lock->warning();
    return acquired;
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
    return {u"gnome-text-editor"_qs,
            u"gedit"_qs,
            u"mousepad"_qs,
            u"kate"_qs,
            u"kwrite"_qs,
            u"xed"_qs,
            u"pluma"_qs,
            u"featherpad"_qs,
            u"leafpad"_qs,
            u"geany"_qs,
            u"xedit"_qs};
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
    if (m_lock)
        m_lock->release();
    std::fflush(nullptr);
    std::_Exit(0);
}

FailedSaveChoice QtServices::askAfterFailedSave(QWidget* window, const QString& file, const QString& reason)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral(" Velloran"),
                    QStringLiteral("Your work could not be saved to\n") + file + QStringLiteral("\n\n") +
                        reason,
                    QMessageBox::NoButton, window);
    QPushButton* stay = box.addButton(QStringLiteral("Stay in the program"), QMessageBox::RejectRole);
    box.addButton(QStringLiteral("Leave without saving"), QMessageBox::DestructiveRole);
    box.setDefaultButton(stay);
    box.exec();
    return box.clickedButton() == stay ? FailedSaveChoice::Stay : FailedSaveChoice::Leave;
}

}  // namespace velloran::platform
