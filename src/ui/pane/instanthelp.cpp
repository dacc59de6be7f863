#include "ui/pane/instanthelp.h"

#include <QAbstractScrollArea>
#include <QLabel>

#include "ui/script/scriptsurface.h"
#include "ui/script/scripttext.h"
#include "ui/widgets/arrowspinner.h"
#include "ui/widgets/mouserelay.h"
#include "ui/widgets/navigationbar.h"
#include "ui/widgets/picturebutton.h"

namespace velloran::ui {

InstantHelp::InstantHelp(QLabel* bar) : QObject(bar), m_bar(bar)
{
}

QString InstantHelp::qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::function<QString()> InstantHelp::fixed(std::string_view text)
{
    return [text] { return qs(text); };
}

void InstantHelp::wire(const std::vector<Row>& rows)
{
    for (const Row& row : rows) {
        connectMoves(row.control, [this, text = row.text, effect = row.effect] {
            if (effect)
                effect();
            if (const QString shown = text ? text() : QString(); !shown.isNull())
                m_bar->setText(shown);
        });
    }
}

void InstantHelp::connectMoves(QWidget* control, const std::function<void()>& handler)
{
    // The controls that report their own movements, then the lists and text panels, which keep
    // their presses (selecting, opening, editing), then plain labels, frames and the window.
    if (auto* button = qobject_cast<PictureButton*>(control))
        connect(button, &PictureButton::mouseMoved, this, handler);
    else if (auto* spinner = qobject_cast<ArrowSpinner*>(control))
        connect(spinner, &ArrowSpinner::mouseMoved, this, handler);
    else if (auto* script = qobject_cast<ScriptText*>(control))
        connect(script, &ScriptText::mouseMoved, this, handler);
    else if (auto* surface = qobject_cast<ScriptSurface*>(control))
        connect(surface, &ScriptSurface::mouseMoved, this, handler);
    else if (auto* bar = qobject_cast<NavigationBar*>(control))
        connect(bar, &NavigationBar::moved, this, handler);
    else if (auto* area = qobject_cast<QAbstractScrollArea*>(control))
        connect(MouseRelay::on(area->viewport(), false), &MouseRelay::moved, this, handler);
    else
        connect(MouseRelay::on(control), &MouseRelay::moved, this, handler);
}

}  // namespace velloran::ui
