#pragma once

#include <array>

#include "engine/playlayout.h"
#include "ui/widgets/twipscale.h"

class QObject;
class QTimer;
class QWidget;

namespace velloran::ui {

class ReadingPane;
class ScriptSurface;

// What a window's play and pause layouts change, each registered under its typed name. A layout
// that names something its window did not register stops the program, naming it: a renamed or
// forgotten control fails at once rather than leaving a layout half applied.
class LayoutTargets {
public:
    explicit LayoutTargets(const TwipScale& scale) : m_scale(scale) { }

    void add(engine::LayoutControl control, QWidget* widget);
    void add(engine::LayoutControl control, QTimer* timer);
    void addSurface(ScriptSurface* surface);  // as Scroll, and its text box as Tex
    // The pane's Playing flag, for both `Playing` and `tScroll`: its tick runs while it plays.
    void addPlaying(ReadingPane* pane, QTimer* tick);

    bool has(engine::LayoutControl control) const;
    // The widget or timer registered, or nothing (the Playing flag, or not registered).
    QObject* object(engine::LayoutControl control) const;

    // Applies the steps in their order.
    void apply(const engine::Layout& layout) const;

private:
    struct Target {
        QWidget* widget = nullptr;
        QTimer* timer = nullptr;
        ReadingPane* playing = nullptr;  // Playing and tScroll: the pane's setPlaying
        ScriptSurface* surface = nullptr;  // Scroll and Tex: the surface places both
    };
    const Target& target(engine::LayoutControl control) const;
    Target& slot(engine::LayoutControl control);
    void applyToWidget(QWidget* widget, const engine::LayoutStep& step) const;

    TwipScale m_scale;
    std::array<Target, engine::kLayoutControlCount> m_targets {};
};

}  // namespace velloran::ui
