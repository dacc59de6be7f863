#pragma once

#include <QObject>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

#include "engine/readingframe.h"
#include "engine/scroller.h"
#include "ui/pane/panesetup.h"
#include "ui/widgets/twipscale.h"

class QLabel;
class QMenu;

namespace velloran::session {
class AppSession;
}

namespace velloran::ui {

class InstantHelp;
class LayoutTargets;
class NavigationBar;
class Notice;
class Reflector;
class ScriptSurface;
class ScriptText;
class WrapNotice;

// What a window shows of its reading: the surface `Scroll` with the script's text box `Tex`, the
// navigation bar `Tip`, the position readout `lPos` and the notice, and the scroll position they
// show (the window's own). With the whole-script option the range and the bar follow the script's
// laid-out length. The window places the parts; its reading pane moves the position.
class ScriptView : public QObject {
    Q_OBJECT
public:
    ScriptView(QWidget* window, const TwipScale& scale, const PaneSetup& setup);

    // Where the window puts the surface, the text box on it, the bar and `lPos`, in twips.
    void setBand(double top, double bottom);
    void setSurfaceLeft(double left);
    void setSurfaceWidth(double width);
    void setTextLeft(double left);
    void setTextWidth(double width);
    void placeBar(double left, double top, double width, double height);
    QRect barGeometry() const;
    void setBarGeometry(const QRect& pixels);
    void buildPositionHolder(QWidget* container, const QRectF& place, const QString& caption, bool hidden);
    // Shows the surface, the text box and the bar as the reflector reflects the picture.
    void reflectWith(Reflector& reflector);
    void refresh();
    void setPointerHidden(bool hidden);  // over the bare surface; the script box keeps its own
    void setCaretShown(bool shown);
    // The script's right-click menu: the text box's own, with the window's entries added.
    void setScriptMenu(std::function<void(QMenu&)> addEntries);
    void registerIn(LayoutTargets& targets);
    // The Instant Help rows of the bar and the script; `playing` tells whether the reading plays.
    void wireHelp(InstantHelp& help, std::function<bool()> playing);

    engine::Scroller& scroller() { return m_scroller; }
    const engine::Scroller& scroller() const { return m_scroller; }
    void ShowPosition();
    // Moves the surface there, as setting its Top does; nothing else is refreshed.
    void setPosition(double position);
    // The reader moved the script (a tick, a nudge, a reset, the bar): the place is what is seen.
    void readerMoved();
    double lineHeight() const;  // one line of the script's font, in twips
    void stepFontSize(bool larger);
    QString positionText() const;
    // See ReadingPane::setWholeScriptReachable.
    void setWholeScriptReachable(bool on);
    bool wholeScriptReachable() const { return m_wholeScript; }

    // A script brought in; `tellWrap` off: one the reader has been told of elsewhere.
    void takeScript(const QString& text, bool tellWrap);
    QString script() const;
    QString PrepareText();
    qint64 scriptLength() const;  // line breaks counted as CR LF
    double fontSize() const;
    void setFontSize(double points);
    // A script file read, or the clipboard's text; a refusal is told in the notice.
    std::optional<QString> scriptFromFile(const QString& path);
    std::optional<QString> scriptFromClipboard(const std::optional<QString>& clipboard);
    // The session's recovery copy follows this script and window.
    void startRecoveryCopy(session::AppSession& session);
    void tell(const QString& message);
    // For following a reader's voice: the text box, the reading height with where the text
    // starts (twips), and the twips of a pixel.
    ScriptText* scriptText() const { return tex(); }
    engine::ReadingFrame readingFrame() const;
    double perPixel() const { return m_scale.perPixel(); }
    void hideNotice();

    // For the timing aids, which read the layout and mark the bar.
    ScriptText* textBox() const { return tex(); }
    ScriptSurface* surface() const { return m_scroll; }
    NavigationBar* bar() const { return m_tip; }
    const TwipScale& scale() const { return m_scale; }

signals:
    void positionShown();
    void barMoved(int buttons, double y);
    void doubleClicked();
    void filesDropped(const QStringList& paths);
    void textChanged();

private:
    ScriptText* tex() const;
    void followScriptLength();  // the range and the bar's scale from the script's current length
    void keepShownLines(double twips);
    void showRangeDependents();

    QWidget* m_window;
    TwipScale m_scale;
    bool m_barShowsMarker;
    engine::Scroller m_scroller;
    bool m_wholeScript = false;
    bool m_readerMoved = false;  // by a tick, a nudge, a reset or the bar, since start-up
    std::function<void(QMenu&)> m_addToMenu;

    ScriptSurface* m_scroll;
    NavigationBar* m_tip;
    QLabel* m_lPos = nullptr;
    Notice* m_notice;
    WrapNotice* m_wrapNotice;
};

}  // namespace velloran::ui
