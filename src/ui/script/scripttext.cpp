#include "ui/script/scripttext.h"

#include <QAbstractTextDocumentLayout>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

#include "session/textlimit.h"
#include "ui/script/scripttextdocument.h"
#include "ui/script/scripttextheights.h"
#include "ui/widgets/filedrop.h"

namespace velloran::ui {

ScriptText::ScriptText(QWidget* parent)
    : QPlainTextEdit(parent), m_document(new ScriptTextDocument(this)), m_heights(new ScriptTextHeights(*this))
{
    setDocument(m_document);
    setObjectName(QStringLiteral("Tex"));
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    document()->setDocumentMargin(0);
    viewport()->setMouseTracking(true);
    setMouseTracking(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);

    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::black);
    colours.setColor(QPalette::Text, Qt::white);
    setPalette(colours);
    // Its viewport covers it whole, so it is opaque: a move then reuses the pixels already drawn
    // and only the strip that comes into view is painted.
    setAttribute(Qt::WA_OpaquePaintEvent);

    connect(document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { contentsChanged(position, added); });
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (!m_settingScroll)
            emit contentMoved();
    });
    // The box moves its own view to keep the caret in sight without a word to its scroll bar's
    // listeners; whatever did it, the place is put back once it is done.
    connect(this, &QPlainTextEdit::updateRequest, this, &ScriptText::keepShownPlace, Qt::QueuedConnection);
    connect(m_heights, &ScriptTextHeights::shownContentShifted, this, &ScriptText::shownContentShifted);
    connect(m_heights, &ScriptTextHeights::contentHeightChanged, this, &ScriptText::contentHeightChanged);
    m_heights->estimateAll();
}

void ScriptText::setPlainText(const QString& text)
{
    const GroupedScript grouped = groupScript(text);
    m_settingScript = true;
    QPlainTextEdit::setPlainText(grouped.text);
    m_document->mark(grouped);
    m_settingScript = false;
    emit scriptSet(grouped.text);
}

bool ScriptText::refusesEntry(qint64 added)
{
    const qint64 now = scriptLength();
    if (now + added <= session::kMaxScriptCharacters)
        return false;
    // Near the limit only: the selection, which the entry replaces, is counted out.
    const QTextCursor cursor = textCursor();
    const QString selected = m_document->script(cursor.selectionStart(), cursor.selectionEnd());
    const qint64 after = now - session::scriptCharacters(selected) + added;
    if (after <= session::kMaxScriptCharacters)
        return false;
    emit entryRefused(session::entryTooLong(after));
    return true;
}

namespace {
// What the user does to the box, after which it may have moved its own view.
bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::InputMethod:
    case QEvent::Timer:  // the box's own scrolling while a selection is dragged past its edge
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Drop: return true;
    default: return false;
    }
}
}  // namespace

bool ScriptText::event(QEvent* event)
{
    const bool handled = QPlainTextEdit::event(event);
    if (isInput(event->type()))
        keepShownPlace();
    return handled;
}

bool ScriptText::viewportEvent(QEvent* event)
{
    const bool handled = QPlainTextEdit::viewportEvent(event);
    if (isInput(event->type()))
        keepShownPlace();
    return handled;
}

void ScriptText::keepShownPlace()
{
    if (m_settingScroll || m_shownLine < 0 || verticalScrollBar()->value() == m_shownLine)
        return;
    // Put back with the viewport's updates off: the box then sets its view straight at the line's
    // top, with no fraction of a pixel left over from its own scrolling there and back.
    viewport()->setUpdatesEnabled(false);
    emit contentMoved();
    viewport()->setUpdatesEnabled(true);
    viewport()->update();
}

void ScriptText::keyPressEvent(QKeyEvent* event)
{
    const bool lineBreak = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QString text = event->text();
    const bool inserts = lineBreak || (!text.isEmpty() && (text.front().isPrint() || text.front() == u'\t'));
    if (!isReadOnly() && inserts && refusesEntry(lineBreak ? 2 : session::scriptCharacters(text))) {
        event->accept();
        return;
    }
    if (!isReadOnly() && typeSpecially(event))
        return;
    // Undo and redo bring back the grouping they found; every other edit is looked at afterwards.
    const bool regroups = !event->matches(QKeySequence::Undo) && !event->matches(QKeySequence::Redo);
    m_editFrom = m_editTo = -1;
    QPlainTextEdit::keyPressEvent(event);
    if (regroups)
        regroupEdited();
}

bool ScriptText::typeSpecially(QKeyEvent* event)
{
    QTextCursor cursor = textCursor();
    const QTextBlock block = cursor.block();
    const bool plainKey = !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier));
    // A block that carries on a long line passes that on to a block made by Enter, which would
    // then carry on the line too: the break is made here instead.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && plainKey &&
        !(event->modifiers() & Qt::ShiftModifier) &&
        ScriptTextDocument::jointBefore(block) != Joint::LineBreak) {
        insertAtCaret(QStringLiteral("\n"));
        return true;
    }
    const QString text = event->text();
    if (std::any_of(text.begin(), text.end(), [](QChar c) { return isHeldByStandIn(c) || isStandIn(c); })) {
        insertAtCaret(text);
        return true;
    }
    // Backspace and Delete next to a break that stands for nothing take the character beyond it.
    if (cursor.hasSelection() || !plainKey)
        return false;
    if (event->key() == Qt::Key_Backspace && cursor.atBlockStart() &&
        ScriptTextDocument::jointBefore(block) == Joint::Nothing) {
        cursor.movePosition(QTextCursor::PreviousCharacter);
        cursor.deletePreviousChar();
    } else if (event->key() == Qt::Key_Delete && cursor.atBlockEnd() && block.next().isValid() &&
               ScriptTextDocument::jointBefore(block.next()) == Joint::Nothing) {
        cursor.movePosition(QTextCursor::NextCharacter);
        cursor.deleteChar();
    } else {
        return false;
    }
    setTextCursor(cursor);
    return true;
}

void ScriptText::insertAtCaret(const QString& text)
{
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    m_document->insert(cursor, text);
    cursor.endEditBlock();
    setTextCursor(cursor);
}

void ScriptText::regroupEdited()
{
    if (m_editFrom >= 0)
        m_document->regroup(m_editFrom, m_editTo, true);
    m_editFrom = m_editTo = -1;
}

void ScriptText::inputMethodEvent(QInputMethodEvent* event)
{
    const QString committed = event->commitString();
    if (!isReadOnly() && refusesEntry(session::scriptCharacters(committed))) {
        event->accept();
        return;
    }
    const bool special = std::any_of(committed.begin(), committed.end(), [](QChar c) {
        return isHeldByStandIn(c) || isStandIn(c) || c == u'\n' || c == u'\r' ||
               c == QChar::ParagraphSeparator;
    });
    if (!isReadOnly() && special && event->replacementLength() == 0) {
        insertAtCaret(committed);
        QInputMethodEvent rest(event->preeditString(), event->attributes());
        QPlainTextEdit::inputMethodEvent(&rest);
        event->accept();
        return;
    }
    m_editFrom = m_editTo = -1;
    QPlainTextEdit::inputMethodEvent(event);
    regroupEdited();
}

void ScriptText::insertFromMimeData(const QMimeData* source)
{
    // Grouped like a loaded script, and the caret goes after it without the view following.
    if (isReadOnly() || !source || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    const QString pasted = source->text();
    if (refusesEntry(session::scriptCharacters(pasted)))
        return;
    insertAtCaret(pasted);
}

QMimeData* ScriptText::createMimeDataFromSelection() const
{
    const QTextCursor cursor = textCursor();
    auto* data = new QMimeData;
    data->setText(m_document->script(cursor.selectionStart(), cursor.selectionEnd()));
    return data;
}

void ScriptText::contentsChanged(int position, int added)
{
    m_editFrom = m_editFrom < 0 ? position : std::min(m_editFrom, position);
    m_editTo = std::max(m_editTo, position + added);
    // Each block keeps the count of its U+2028 in its user state, counted again only for the
    // blocks of the change. Typing within a block adjusts the total at once; a change that makes
    // or removes blocks has the total summed again when it is next asked for.
    const QTextDocument* doc = document();
    QTextBlock block = doc->findBlock(position);
    const int first = block.blockNumber();
    const QTextBlock last = doc->findBlock(position + added);
    const int blockCount = doc->blockCount();
    if (block == last && blockCount == m_knownBlockCount && !m_separatorsStale) {
        const int before = std::max(0, block.userState());
        const int now = static_cast<int>(block.text().count(QChar::LineSeparator));
        block.setUserState(now);
        m_lineSeparators += now - before;
        m_heights->blocksChanged(first, &block);
    } else {
        for (; block.isValid(); block = block.next()) {
            block.setUserState(static_cast<int>(block.text().count(QChar::LineSeparator)));
            if (block == last)
                break;
        }
        m_knownBlockCount = blockCount;
        m_separatorsStale = true;
        m_heights->blocksChanged(first, nullptr);
    }
}

qreal ScriptText::lineTopAt(int block, int offset) const
{
    return m_heights->lineTopAt(block, offset);
}

qreal ScriptText::lastLineTop() const
{
    const QTextBlock last = document()->lastBlock();
    return m_heights->lineTopAt(last.blockNumber(), std::max(0, last.length() - 1));
}

int ScriptText::showFrom(int offset)
{
    const int wantedLine = m_heights->lineAt(offset, height());
    QScrollBar* bar = verticalScrollBar();
    m_settingScroll = true;
    bar->setValue(std::min(wantedLine, bar->maximum()));
    m_settingScroll = false;
    m_shownLine = bar->value();
    return offset - static_cast<int>(std::lround(m_heights->lineTop(bar->value())));
}

void ScriptText::layOutThrough(int bottom)
{
    m_heights->measureThrough(bottom);
}

void ScriptText::setLazyLayout(bool lazy)
{
    m_heights->setLazy(lazy);
}

bool ScriptText::lazyLayout() const
{
    return m_heights->lazy();
}

qreal ScriptText::contentHeight() const
{
    return m_heights->total();
}

bool ScriptText::layoutSettled() const
{
    return m_heights->settled();
}

QString ScriptText::script() const
{
    return m_document->script(0, m_document->characterCount() - 1);
}

TextPlace ScriptText::placeOf(int position) const
{
    return m_heights->placeOf(position);
}

int ScriptText::positionAt(double y) const
{
    return m_heights->positionAt(y);
}

qint64 ScriptText::scriptLength() const
{
    // Every line break stands for CR LF, one character in the document; characterCount() counts
    // the document's final separator too. A break between blocks that stands for a space counts
    // once, one that stands for nothing not at all.
    const QTextDocument* doc = document();
    if (m_separatorsStale) {
        m_lineSeparators = m_spaceJoints = m_emptyJoints = 0;
        for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
            m_lineSeparators += std::max(0, block.userState());
            const Joint joint = ScriptTextDocument::jointBefore(block);
            m_spaceJoints += joint == Joint::Space;
            m_emptyJoints += joint == Joint::Nothing;
        }
        m_separatorsStale = false;
    }
    const qint64 blockLineBreaks = doc->blockCount() - 1 - m_spaceJoints - m_emptyJoints;
    return static_cast<qint64>(doc->characterCount()) - 1 + blockLineBreaks + m_lineSeparators -
           m_emptyJoints;
}

void ScriptText::setTextColor(const QColor& color)
{
    QPalette colours = palette();
    if (colours.color(QPalette::Text) == color)
        return;
    colours.setColor(QPalette::Text, color);
    setPalette(colours);
}

void ScriptText::setPointSize(double points)
{
    QFont font = this->font();
    font.setPointSizeF(points);
    setFont(font);
    m_heights->estimateAll();
}

double ScriptText::pointSize() const
{
    return font().pointSizeF();
}

int ScriptText::tallestLine() const
{
    return fontMetrics().lineSpacing() * 2;
}

void ScriptText::mouseDoubleClickEvent(QMouseEvent* event)
{
    QPlainTextEdit::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

void ScriptText::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved();
    QPlainTextEdit::mouseMoveEvent(event);
}

void ScriptText::resizeEvent(QResizeEvent* event)
{
    // The viewport has its new size already; the lines are laid out again at it now.
    QPlainTextEdit::resizeEvent(event);
    if (m_heights->needsEstimateAt(viewport()->width())) {
        m_heights->estimateAll();
        emit contentMoved();  // what is shown is worked out again at the new width
    }
}

void ScriptText::wheelEvent(QWheelEvent* event)
{
    event->ignore();  // the surface, not the box, decides what is shown
}

void ScriptText::dragEnterEvent(QDragEnterEvent* event)
{
    takeFiles(event, m_acceptsFiles);
}

void ScriptText::dragMoveEvent(QDragMoveEvent* event)
{
    takeFiles(event, m_acceptsFiles);
}

void ScriptText::dropEvent(QDropEvent* event)
{
    const QStringList paths = takeFiles(event, m_acceptsFiles);
    if (!paths.isEmpty())
        emit filesDropped(paths);
}

}  // namespace velloran::ui
