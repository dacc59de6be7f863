#pragma once

#include <QString>
#include <memory>
#include <optional>

class QWidget;

namespace velloran::platform {

class InstanceLock;

// The user's answer when the state could not be saved on the way out.
enum class FailedSaveChoice { Stay, Leave };

// What the program needs from the operating system beyond plain widgets; one Qt implementation,
// and fakes in tests.
class Services {
public:
    virtual ~Services() = default;

    virtual QString programFolder() const = 0;
    // The folder that holds help.txt: the program folder for a copy run in place, the installed
    // data folder for an installed copy (see findDataFolder).
    virtual QString dataFolder() const = 0;
    // Takes the per-user single-instance lock; false when another copy holds it.
    virtual bool acquireSingleInstance() = 0;
    // The clipboard's plain text ("" when it holds none), or nothing when it cannot be read.
    virtual std::optional<QString> clipboardText() const = 0;
    // Starts the desktop's text editor without waiting; failure is ignored.
    virtual void startEditor() = 0;
    // Hands the window to the window manager for an interactive move with the pointer.
    virtual void startWindowMove(QWidget* window) = 0;
    // Ends the program at once: no further handler runs, nothing is saved. The single-instance
    // lock is given up first.
    virtual void endNow() = 0;
    // Asks, over the window, whether to stay in the program or leave without saving, when the
    // state could not be written to the file for the reason given.
    virtual FailedSaveChoice askAfterFailedSave(QWidget* window, const QString& file,
                                                const QString& reason) = 0;
};

class QtServices final : public Services {
public:
    QtServices();
    ~QtServices() override;

    QString programFolder() const override;
    QString dataFolder() const override;
    bool acquireSingleInstance() override;
    std::optional<QString> clipboardText() const override;
    void startEditor() override;
    void startWindowMove(QWidget* window) override;
    void endNow() override;
    FailedSaveChoice askAfterFailedSave(QWidget* window, const QString& file, const QString& reason) override;

private:
    std::unique_ptr<InstanceLock> m_lock;
};

// help.txt beside the program first (a copy run in place), then in the installed data folder,
// given relative to the program folder ("../share/velloran" for <prefix>/bin); the program folder
// when neither holds it.
QString findDataFolder(const QString& programFolder, const QString& installedDataFolder);

// The usual desktop text editors, in the order they are tried.
QStringList editorCandidates();

}  // namespace velloran::platform
