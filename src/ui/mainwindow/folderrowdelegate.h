#pragma once

#include <QStyledItemDelegate>

namespace velloran::ui {

// Draws a row of the TextFinder's folder list indented by its level, as a folder tree shows it.
class FolderRowDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    FolderRowDelegate(int levelIndent, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int indent(const QModelIndex& index) const;

    int m_levelIndent;  // pixels a level
};

}  // namespace velloran::ui
