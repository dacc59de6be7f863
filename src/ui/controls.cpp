#include "ui/controls.h"

#include <QLabel>
#include <QPushButton>

namespace velloran::ui {

QWidget* makePanel(QWidget* parent, const QString& name, const QColor& colour)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(name);
    panel->setAutoFillBackground(true);
    QPalette colours = panel->palette();
    colours.setColor(QPalette::Window, colour);
    panel->setPalette(colours);
    return panel;
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, double points, bool bold)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    label->setMouseTracking(true);
    return label;
}

QPushButton* makeAccelerator(QWidget* parent, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace velloran::ui
