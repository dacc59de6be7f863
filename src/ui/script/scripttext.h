#pragma once

#include <QPlainTextEdit>
#include <QStringList>

#include "ui/script/scripttextheights.h"

class QTextBlock;

namespace velloran::ui {

class ScriptTextDocument;
class ScriptTextHeights;

// The script text box `Tex`: an ordinary editable plain-text box that never scrolls by itself.
// Its owner shows a window of its content from a pixel offset; only the lines near that offset
// are ever laid out, so the cost does not depend on how long the script is. Moving the caret,
// typing, paging, pasting or undoing never moves what is shown: the owner's offset alone does.
//
// The document groups lines into blocks and cuts long lines into pieces (ScriptTextDocument);
// script() gives back what was typed, whatever the grouping.
class ScriptText : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ScriptText(QWidget* parent = nullptr);

    // Hides QPlainTextEdit::setPlainText, so every script that comes in is grouped into blocks.
    void setPlainText(const QString& text);

    // Shows the content from `offset` pixels below its top. Returns how many pixels of the first
    // shown line lie above that offset: the owner raises the widget by that much.
    int showFrom(int offset);
    // Lays out every block from the top down to `bottom` pixels, so that what stands there is
    // the real text, not an estimate's.
    void layOutThrough(int bottom);

    // Length of the script with each line break counted as CR LF.
    qint64 scriptLength() const;

    // The script with '\n' line breaks and every other character as typed; unlike toPlainText()
    // it keeps non-breaking spaces, U+FDD0 and U+FDD1, and joins long lines cut into pieces.
    QString script() const;
    ScriptTextDocument* scriptDocument() const { return m_document; }

    void setTextColor(const QColor& color);  // palette only: the document is not restyled
    void setPointSize(double points);
    double pointSize() const;
    int tallestLine() const;

    // Lazy layout, for the whole-script option: only the blocks near what is shown are laid out
    // when shown, the others are estimated and laid out in idle-time slices until all are real.
    // Off, every block above the place shown is laid out, as a script read from its top needs.
    void setLazyLayout(bool lazy);
    bool lazyLayout() const;
    // The content's height in pixels: real where laid out, estimated elsewhere.
    qreal contentHeight() const;
    bool layoutSettled() const;
    // Pixels from the content's top to the top of the line holding `offset` of block `block`:
    // exact where the block is laid out, elsewhere estimated from its lines.
    qreal lineTopAt(int block, int offset) const;
    qreal lastLineTop() const;
    bool settingScript() const { return m_settingScript; }  // within setPlainText

    // Where a position of the document stands (see TextPlace), and the position of the first
    // character of the line at `y` pixels of the content.
    TextPlace placeOf(int position) const;
    int positionAt(double y) const;

    // While set, dropped files are announced by filesDropped; otherwise drops are refused.
    void setAcceptsFiles(bool accepts) { m_acceptsFiles = accepts; }

signals:
    void contentMoved();  // the box tried to scroll itself, or was laid out anew; the owner puts it back
    // Lazy layout replaced estimates above the place last shown: its content now stands `pixels`
    // lower, and the owner moves it up by as much so that the lines shown stay where they are.
    void shownContentShifted(qreal pixels);
    void contentHeightChanged();  // the real or estimated height changed (lazy layout only)
    void doubleClicked();
    void mouseMoved();
    void filesDropped(const QStringList& paths);
    // Typing, pasting or input-method text was not taken: it would have made the script longer
    // than the script size limit. The message says by how much.
    void entryRefused(const QString& message);
    // A whole script came in, grouped into blocks separated by '\n' as the document now holds it.
    void scriptSet(const QString& grouped);

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    bool refusesEntry(qint64 added);
    void keepShownPlace();
    bool typeSpecially(QKeyEvent* event);
    void insertAtCaret(const QString& text);
    void regroupEdited();
    void contentsChanged(int position, int added);

    ScriptTextDocument* m_document;
    ScriptTextHeights* m_heights;
    mutable qint64 m_lineSeparators = 0;  // U+2028 in the document, when not stale
    mutable qint64 m_spaceJoints = 0;     // block breaks that stand for a space, likewise
    mutable qint64 m_emptyJoints = 0;     // block breaks that stand for nothing, likewise
    mutable bool m_separatorsStale = true;
    int m_knownBlockCount = 1;
    bool m_settingScroll = false;
    int m_shownLine = -1;  // the scroll bar's value that showFrom() set
    int m_editFrom = -1;   // what the edit under way has changed, when it is one of the user's
    int m_editTo = -1;
    bool m_acceptsFiles = false;
    bool m_settingScript = false;
};

}  // namespace velloran::ui
