#pragma once

#include <QWidget>

class QComboBox;
class QListWidget;
class QLabel;

namespace velloran::ui {

class PictureButton;
class TwipScale;

// The names the file list admits: those ending in "txt", with or without a dot before it,
// in any letter case.
bool matchesTextPattern(const QString& fileName);

// Places the drive list offers where the system has no drive letters: the root, the home folder
// and the mounted removable and data volumes.
QStringList driveRoots();

// The TextFinder panel `fX`: drive, folder and file lists and its three buttons.
class TextFinderPanel : public QWidget {
    Q_OBJECT
public:
    // What a row of the folder list holds besides its text: the folder's full path, and its
    // level, 0 for the drive's root.
    static constexpr int kPathRole = Qt::UserRole;
    static constexpr int kLevelRole = Qt::UserRole + 1;

    TextFinderPanel(QWidget* parent, const TwipScale& scale);

    QString folder() const { return m_folder; }  // the file list's path
    QString selectedFile() const;                // the file list's FileName, "" when none
    bool openFolder(const QString& path);        // false leaves the lists as they were
    void refreshPattern();                       // sets the "*txt" pattern again

    QComboBox* drives() const { return m_drives; }
    QListWidget* folders() const { return m_folders; }
    QListWidget* files() const { return m_files; }
    PictureButton* okay() const { return m_okay; }
    PictureButton* backup() const { return m_backup; }
    PictureButton* cancel() const { return m_cancel; }

protected:
    void mousePressEvent(class QMouseEvent* event) override;

private:
    void fillDrives();
    QString showDriveOf(const QString& folder);  // returns the drive's root
    void fillFolders(const QString& folder, const QString& root, const QStringList& subfolders);

    QString m_folder;
    QComboBox* m_drives;
    QListWidget* m_folders;
    QListWidget* m_files;
    PictureButton* m_okay;
    PictureButton* m_backup;
    PictureButton* m_cancel;
};

}  // namespace velloran::ui
