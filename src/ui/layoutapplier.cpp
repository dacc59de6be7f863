#include "ui/layoutapplier.h"

#include <QTimer>
#include <QWidget>

#include "ui/scriptsurface.h"
#include "ui/twipscale.h"

namespace velloran::ui {

namespace {

using K = engine::LayoutStep::Kind;

void applyToTimer(QTimer* timer, K kind)
{
    if (kind == K::Enable)
        timer->start();
    else if (kind == K::Disable)
        timer->stop();
}

void applyToSurface(ScriptSurface* surface, const engine::LayoutStep& step)
{
    const bool tex = step.control == "Tex";
    if (step.kind == K::SetWidth && tex)
        surface->setTexWidth(step.value);
    else if (step.kind == K::SetWidth)
        surface->setWidth(step.value);
    else if (step.kind == K::MoveLeftBy && tex)
        surface->setTexLeft(surface->texLeft() + step.value);
}

void applyToWidget(QWidget* widget, const engine::LayoutStep& step, const TwipScale& scale)
{
    const QRect r = widget->geometry();
    switch (step.kind) {
    case K::Enable: widget->setEnabled(true); break;
    case K::Disable: widget->setEnabled(false); break;
    case K::Show: widget->show(); break;
    case K::Hide: widget->hide(); break;
    case K::SetWidth: widget->resize(scale.px(step.value), r.height()); break;
    case K::WidenBy: widget->resize(r.width() + scale.px(step.value), r.height()); break;
    case K::MoveLeftBy: widget->move(r.x() + scale.px(step.value), r.y()); break;
    case K::SetFlag:
    case K::ClearFlag:
    case K::Repaint: break;
    }
}

}  // namespace

void applyLayout(const engine::Layout& layout, QWidget* window, ScriptSurface* surface, bool& playing,
                 const TwipScale& scale)
{
    for (const engine::LayoutStep& step : layout) {
        const QString name = QString::fromLatin1(step.control.data(), static_cast<qsizetype>(step.control.size()));
        if (step.control == "Playing")
            playing = step.kind == K::SetFlag;
        else if (step.control == "window")
            window->update();
        else if (step.control == "Scroll" || step.control == "Tex")
            applyToSurface(surface, step);
        else if (auto* timer = window->findChild<QTimer*>(name))
            applyToTimer(timer, step.kind);
        else if (auto* widget = window->findChild<QWidget*>(name))
            applyToWidget(widget, step, scale);
    }
}

}  // namespace velloran::ui
