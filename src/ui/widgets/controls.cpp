#include "ui/widgets/controls.h"

#include <QLabel>
#include <QPushButton>

#include "ui/widgets/acceleratorbutton.h"
#include "ui/widgets/twipscale.h"

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
    QPushButton* button = new AcceleratorButton(caption, parent);
    button->setObjectName(name);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QWidget* makeDecoration(QWidget* parent, const TwipScale& scale, const QString& name, double left, double top,
                        double width, double height, const QColor& colour)
{
    QWidget* shape = makePanel(parent, name, colour);
    shape->setAttribute(Qt::WA_TransparentForMouseEvents);
    scale.place(shape, left, top, width, height);
    return shape;
}

void colourText(QLabel* label, const QColor& colour)
{
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, colour);
    label->setPalette(colours);
}

}  // namespace velloran::ui
