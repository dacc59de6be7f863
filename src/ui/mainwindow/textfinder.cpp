#include "ui/mainwindow/textfinder.h"

#include <algorithm>

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QStorageInfo>
#include <QStyle>

#include "ui/mainwindow/folderrowdelegate.h"
#include "ui/widgets/picturebutton.h"
#include "ui/widgets/twipscale.h"

namespace velloran::ui {

bool matchesTextPattern(const QString& fileName)
{
    return fileName.endsWith(u"txt", Qt::CaseInsensitive);
}

QStringList driveRoots()
{
    QStringList roots {QDir::rootPath(), QDir::homePath()};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        const bool userVolume = root.startsWith(u"/media/") || root.startsWith(u"/mnt/") ||
                                root.startsWith(u"/run/media/") || root == u"/home";
        if (volume.isValid() && volume.isReady() && userVolume && !roots.contains(root))
            roots << root;
    }
    return roots;
}

TextFinderPanel::TextFinderPanel(QWidget* parent, const TwipScale& scale)
    : QWidget(parent), m_drives(new QComboBox(this)), m_folders(new QListWidget(this)),
      m_files(new QListWidget(this)),
      m_okay(new PictureButton(QStringLiteral("cOKay"), PictureButton::Glyph::Okay, this)),
      m_backup(new PictureButton(QStringLiteral("cBackup"), PictureButton::Glyph::Backup, this)),
      m_cancel(new PictureButton(QStringLiteral("cCancel"), PictureButton::Glyph::Cancel, this))
{
    setObjectName(QStringLiteral("fX"));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(colours);

    auto* title = new QLabel(QStringLiteral("TextFinder"), this);
    title->setObjectName(QStringLiteral("Label1"));
    title->setAlignment(Qt::AlignCenter);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    scale.place(title, 600, 120, 2655, 255);
    m_drives->setObjectName(QStringLiteral("Drive1"));
    scale.place(m_drives, 240, 360, 3255, 405);
    m_folders->setObjectName(QStringLiteral("Dir1"));
    scale.place(m_folders, 240, 960, 3255, 1170);
    m_files->setObjectName(QStringLiteral("File1"));
    scale.place(m_files, 240, 2280, 3255, 1230);
    scale.place(m_backup, 240, 3720, 495, 495);
    scale.place(m_okay, 960, 3720, 1815, 495);
    scale.place(m_cancel, 3000, 3720, 495, 495);
    m_folders->setMouseTracking(true);
    m_folders->setItemDelegate(new FolderRowDelegate(scale.px(120), m_folders));
    m_files->setMouseTracking(true);

    fillDrives();
    openFolder(QDir::currentPath());

    connect(m_drives, &QComboBox::activated, this,
            [this](int index) { openFolder(m_drives->itemData(index).toString()); });
    connect(m_folders, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { openFolder(item->data(kPathRole).toString()); });
}

void TextFinderPanel::mousePressEvent(QMouseEvent* event)
{
    event->accept();  // the panel's background and title move no window
}

void TextFinderPanel::fillDrives()
{
    m_drives->clear();
    for (const QString& root : driveRoots())
        m_drives->addItem(root, root);
}

QString TextFinderPanel::showDriveOf(const QString& folder)
{
    // The drive of a folder is the longest listed root that contains it.
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < m_drives->count(); ++i) {
        const QString root = m_drives->itemData(i).toString();
        const bool contains = folder == root || folder.startsWith(root.endsWith(u'/') ? root : root + u'/');
        if (contains && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    if (best < 0)
        return QDir::rootPath();
    m_drives->setCurrentIndex(best);
    return m_drives->itemData(best).toString();
}

bool TextFinderPanel::openFolder(const QString& path)
{
    QDir folder(path);
    if (!folder.exists() || !folder.isReadable())
        return false;
    const QString canonical = folder.canonicalPath();
    if (canonical.isEmpty())
        return false;
    folder.setPath(canonical);
    const QStringList subfolders =
        folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    // Regular files and links to them only: a pipe or a device would never finish loading.
    QStringList names;
    for (const QFileInfo& entry :
         folder.entryInfoList(QDir::Files | QDir::System, QDir::Name | QDir::IgnoreCase))
        if (entry.isFile())
            names << entry.fileName();

    m_folder = canonical;
    fillFolders(canonical, showDriveOf(canonical), subfolders);
    m_files->clear();
    for (const QString& name : names)
        if (matchesTextPattern(name))
            m_files->addItem(name);
    return true;
}

void TextFinderPanel::fillFolders(const QString& folder, const QString& root, const QStringList& subfolders)
{
    QStringList way {folder};  // from the folder up to the drive's root
    while (way.last() != root && !QDir(way.last()).isRoot())
        way << QFileInfo(way.last()).dir().path();
    std::reverse(way.begin(), way.end());

    m_folders->clear();
    const auto addRow = [this](const QString& path, const QString& text, int level, bool open) {
        const QIcon icon = style()->standardIcon(open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon);
        auto* row = new QListWidgetItem(icon, text, m_folders);
        row->setData(kPathRole, path);
        row->setData(kLevelRole, level);
        return row;
    };
    for (int level = 0; level < way.size(); ++level)
        addRow(way[level], level == 0 ? way[level] : QFileInfo(way[level]).fileName(), level, true);
    QListWidgetItem* current = m_folders->item(m_folders->count() - 1);
    QFont bold = current->font();
    bold.setBold(true);
    current->setFont(bold);
    for (const QString& name : subfolders)
        addRow(QDir(folder).filePath(name), name, static_cast<int>(way.size()), false);
    m_folders->setCurrentItem(current);
    m_folders->scrollToItem(current, QAbstractItemView::PositionAtCenter);
    m_folders->setToolTip(folder);
}

void TextFinderPanel::refreshPattern()
{
    openFolder(m_folder);
}

QString TextFinderPanel::selectedFile() const
{
    const QListWidgetItem* item = m_files->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

}  // namespace velloran::ui
