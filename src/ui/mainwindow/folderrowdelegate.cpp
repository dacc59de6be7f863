#include "ui/mainwindow/folderrowdelegate.h"

#include "ui/mainwindow/textfinder.h"

namespace velloran::ui {

FolderRowDelegate::FolderRowDelegate(int levelIndent, QObject* parent)
    : QStyledItemDelegate(parent), m_levelIndent(levelIndent)
{
}

void FolderRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem indented(option);
    indented.rect.setLeft(option.rect.left() + indent(index));
    QStyledItemDelegate::paint(painter, indented, index);
}

QSize FolderRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return QStyledItemDelegate::sizeHint(option, index) + QSize(indent(index), 0);
}

int FolderRowDelegate::indent(const QModelIndex& index) const
{
    return index.data(TextFinderPanel::kLevelRole).toInt() * m_levelIndent;
}

}  // namespace velloran::ui
