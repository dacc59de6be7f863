#include "ui/scripttext.h"

#include <QAbstractTextDocumentLayout>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cmath>

#include "session/textlimit.h"

namespace velloran::ui {

namespace {
// About 20 lines of 50 characters: few enough blocks for a long script, and a keystroke lays out
// no more than one block of this size again.
constexpr qsizetype kBlockCharacters = 1024;

bool isLineBreak(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator;
}
}  // namespace

QString groupLinesIntoBlocks(QStringView text, qsizetype blockCharacters)
{
    QString grouped(text.size(), Qt::Uninitialized);
    QChar* out = grouped.data();
    qsizetype inBlock = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!isLineBreak(c)) {
            *out++ = c;
            ++inBlock;
            continue;
        }
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        if (inBlock >= blockCharacters) {
            *out++ = u'\n';
            inBlock = 0;
        } else {
            *out++ = QChar::LineSeparator;
            ++inBlock;
        }
    }
    grouped.truncate(out - grouped.constData());
    return grouped;
}

ScriptText::ScriptText(QWidget* parent) : QPlainTextEdit(parent)
{
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
    m_slices = new QTimer(this);
    m_slices->setObjectName(QStringLiteral("tLayout"));
    m_slices->setSingleShot(true);
    m_slices->setInterval(0);
    connect(m_slices, &QTimer::timeout, this, &ScriptText::layoutSlice);
    estimateAll();
}

void ScriptText::setPlainText(const QString& text)
{
    QPlainTextEdit::setPlainText(groupLinesIntoBlocks(text, kBlockCharacters));
}

bool ScriptText::refusesEntry(qint64 added)
{
    const qint64 now = scriptLength();
    if (now + added <= session::kMaxScriptCharacters)
        return false;
    // Near the limit only: the selection, which the entry replaces, is counted out.
    const QString selected = textCursor().selectedText();
    const auto breaks = selected.count(QChar::ParagraphSeparator) + selected.count(QChar::LineSeparator);
    const qint64 after = now - selected.size() - breaks + added;
    if (after <= session::kMaxScriptCharacters)
        return false;
    emit entryRefused(session::entryTooLong(after));
    return true;
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
    QPlainTextEdit::keyPressEvent(event);
}

void ScriptText::inputMethodEvent(QInputMethodEvent* event)
{
    if (!isReadOnly() && refusesEntry(session::scriptCharacters(event->commitString()))) {
        event->accept();
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

void ScriptText::insertFromMimeData(const QMimeData* source)
{
    // A long paste is grouped like a loaded script.
    if (isReadOnly() || !source || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    const QString pasted = source->text();
    if (refusesEntry(session::scriptCharacters(pasted)))
        return;
    QTextCursor cursor = textCursor();
    cursor.insertText(groupLinesIntoBlocks(pasted, kBlockCharacters));
    setTextCursor(cursor);
    ensureCursorVisible();
}

void ScriptText::contentsChanged(int position, int added)
{
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
        m_heights.unmeasure(static_cast<std::size_t>(first), rawLines(block, charactersPerLine()));
    } else {
        for (; block.isValid(); block = block.next()) {
            block.setUserState(static_cast<int>(block.text().count(QChar::LineSeparator)));
            if (block == last)
                break;
        }
        m_knownBlockCount = blockCount;
        m_separatorsStale = true;
        m_heights.replaceFrom(static_cast<std::size_t>(std::max(0, first)), rawLinesFrom(first));
    }
    m_sliceFrom = std::min(m_sliceFrom, static_cast<std::size_t>(std::max(0, first)));
    if (m_lazy)
        m_slices->start();
}

qreal ScriptText::lineTopOfVisualLine(int visualLine)
{
    const QTextBlock block = document()->findBlockByLineNumber(visualLine);
    if (!block.isValid())
        return 0;
    const auto number = static_cast<std::size_t>(block.blockNumber());
    if (number >= m_heights.size() || !m_heights.measured(number))
        return m_heights.top(std::min(number, m_heights.size()));
    const QTextLayout* layout = block.layout();
    const int lineInBlock = visualLine - block.firstLineNumber();
    if (!layout || lineInBlock <= 0 || lineInBlock >= layout->lineCount())
        return m_heights.top(number);
    // The box shows a line from the bottom of the natural rectangle of the line above it, which
    // leaves out that line's leading.
    return m_heights.top(number) + layout->lineAt(lineInBlock - 1).naturalTextRect().bottom();
}

int ScriptText::showFrom(int offset)
{
    if (m_lazy)
        measureAround(offset, offset + height());
    else
        measureThrough(offset + height());
    int wantedLine = 0;
    if (m_heights.measuredPrefix() > 0 || m_lazy) {
        const std::size_t number = m_heights.blockAt(offset);
        const QTextBlock block = document()->findBlockByNumber(static_cast<int>(number));
        wantedLine = block.firstLineNumber();
        if (const QTextLayout* layout = block.layout()) {
            const qreal inBlock = offset - m_heights.top(number);
            for (int i = layout->lineCount() - 1; i > 0; --i) {
                if (layout->lineAt(i).y() <= inBlock) {
                    wantedLine += i;
                    break;
                }
            }
        }
    }
    QScrollBar* bar = verticalScrollBar();
    m_settingScroll = true;
    bar->setValue(std::min(wantedLine, bar->maximum()));
    m_settingScroll = false;
    return offset - static_cast<int>(std::lround(lineTopOfVisualLine(bar->value())));
}

QString ScriptText::script() const
{
    QString text = document()->toRawText();
    for (QChar& c : text)
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u'\n';
    return text;
}

qint64 ScriptText::scriptLength() const
{
    // Every line break stands for CR LF, one character in the document; characterCount() counts
    // the document's final separator too.
    const QTextDocument* doc = document();
    if (m_separatorsStale) {
        m_lineSeparators = 0;
        for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
            m_lineSeparators += std::max(0, block.userState());
        m_separatorsStale = false;
    }
    const qint64 lineBreaks = doc->blockCount() - 1 + m_lineSeparators;
    return static_cast<qint64>(doc->characterCount()) - 1 + lineBreaks;
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
    estimateAll();
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
    const int oldWidth = viewport()->width();
    QPlainTextEdit::resizeEvent(event);
    if (viewport()->width() != oldWidth)
        estimateAll();
}

void ScriptText::wheelEvent(QWheelEvent* event)
{
    event->ignore();  // the surface, not the box, decides what is shown
}

QStringList droppedFiles(const QMimeData* data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    return paths;
}

QStringList takeFiles(QDropEvent* event, bool acceptsFiles)
{
    QStringList paths = acceptsFiles ? droppedFiles(event->mimeData()) : QStringList();
    if (paths.isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
    return paths;
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
