#pragma once

#include <QObject>

#include <functional>
#include <optional>

#include "engine/markerjump.h"
#include "engine/markers.h"
#include "engine/readingframe.h"

class QTimer;

namespace velloran::ui {

class ReadingPane;
class ScriptView;

// The reading height and the script's first line of a window's view, in twips.
engine::ReadingFrame viewFrame(const ScriptView& view);

// Section markers of one window's script: lines whose first non-blank character is '#'. Kept
// edit by edit while on, shown as ticks on the navigation bar, and the places the marker keys
// move the reading height to, as a nudge moves it, playing or paused.
class SectionMarkers : public QObject {
    Q_OBJECT
public:
    SectionMarkers(ReadingPane& pane, ScriptView& view);

    void setEnabled(bool on);  // off: no ticks, and the keys do nothing
    bool enabled() const { return m_enabled; }
    void next();
    void previous();  // to the start of this section when more than a line past it
    void nth(int n);  // from 1
    const engine::MarkerIndex& index() const { return m_index; }
    engine::MarkerStops stops() const;
    void showTicks();  // from the script's layout now (coalesced to once per turn of the loop)

private:
    void contentsChanged(int position, int removed, int added);
    void rescan();  // from the document's blocks
    void scan(const QString& grouped);
    void go(const std::function<std::optional<double>(const engine::MarkerStops&)>& pick);
    double reading() const;  // the depth at the reading height now

    ReadingPane& m_pane;
    ScriptView& m_view;
    bool m_enabled = false;
    engine::MarkerIndex m_index {u'\n'};  // the blocks as the text box groups a script
    QTimer* m_ticksDue;
};

}  // namespace velloran::ui
