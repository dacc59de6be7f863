#include "ui/pane/layouttargets.h"

#include <QTimer>
#include <QWidget>

#include "ui/pane/readingpane.h"
#include "ui/script/scriptsurface.h"
#include "ui/script/scripttext.h"

namespace velloran::ui {

namespace {

using engine::LayoutControl;
using K = engine::LayoutStep::Kind;

void applyToTimer(QTimer* timer, K kind)
{
    if (kind == K::Enable)
        timer->start();
    else if (kind == K::Disable)
        timer->stop();
}

bool switchesOn(K kind)
{
    return kind == K::Enable || kind == K::SetFlag;
}

void applyToSurface(ScriptSurface* surface, const engine::LayoutStep& step)
{
    const bool tex = step.control == LayoutControl::Tex;
    if (step.kind == K::SetWidth && tex)
        surface->setTexWidth(step.value);
    else if (step.kind == K::SetWidth)
        surface->setWidth(step.value);
    else if (step.kind == K::MoveRightBy && tex)
        surface->setTexLeft(surface->texLeft() + step.value);
}

}  // namespace

LayoutTargets::Target& LayoutTargets::slot(LayoutControl control)
{
    return m_targets[static_cast<std::size_t>(control)];
}

const LayoutTargets::Target& LayoutTargets::target(LayoutControl control) const
{
    const Target& found = m_targets[static_cast<std::size_t>(control)];
    if (!found.widget && !found.timer && !found.playing && !found.surface)
        qFatal("a play or pause layout names %s, which its window did not register",
               engine::controlName(control).data());
    return found;
}

void LayoutTargets::add(LayoutControl control, QWidget* widget)
{
    slot(control).widget = widget;
}

void LayoutTargets::add(LayoutControl control, QTimer* timer)
{
    slot(control).timer = timer;
}

void LayoutTargets::addPlaying(ReadingPane* pane, QTimer* tick)
{
    slot(LayoutControl::Playing).playing = pane;
    slot(LayoutControl::tScroll).playing = pane;
    slot(LayoutControl::tScroll).timer = tick;
}

void LayoutTargets::addSurface(ScriptSurface* surface)
{
    slot(LayoutControl::Scroll).surface = surface;
    slot(LayoutControl::Tex).surface = surface;
}

bool LayoutTargets::has(LayoutControl control) const
{
    const Target& found = m_targets[static_cast<std::size_t>(control)];
    return found.widget || found.timer || found.playing || found.surface;
}

QObject* LayoutTargets::object(LayoutControl control) const
{
    const Target& found = m_targets[static_cast<std::size_t>(control)];
    if (found.surface)
        return control == LayoutControl::Tex ? static_cast<QObject*>(found.surface->text()) : found.surface;
    if (found.timer)
        return found.timer;
    return found.widget;
}

void LayoutTargets::applyToWidget(QWidget* widget, const engine::LayoutStep& step) const
{
    const QRect r = widget->geometry();
    switch (step.kind) {
    case K::Enable: widget->setEnabled(true); break;
    case K::Disable: widget->setEnabled(false); break;
    case K::Show: widget->show(); break;
    case K::Hide: widget->hide(); break;
    case K::SetWidth: widget->resize(m_scale.px(step.value), r.height()); break;
    case K::WidenBy: widget->resize(r.width() + m_scale.px(step.value), r.height()); break;
    case K::MoveRightBy: widget->move(r.x() + m_scale.px(step.value), r.y()); break;
    case K::Repaint: widget->update(); break;
    case K::SetFlag:
    case K::ClearFlag: break;
    }
}

void LayoutTargets::apply(const engine::Layout& layout) const
{
    for (const engine::LayoutStep& step : layout) {
        const Target& found = target(step.control);
        if (found.playing)
            found.playing->setPlaying(switchesOn(step.kind));
        else if (found.surface)
            applyToSurface(found.surface, step);
        else if (found.timer)
            applyToTimer(found.timer, step.kind);
        else
            applyToWidget(found.widget, step);
    }
}

}  // namespace velloran::ui
