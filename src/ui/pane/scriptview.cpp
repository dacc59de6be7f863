#include "ui/pane/scriptview.h"

#include <QLabel>
#include <QMenu>

#include <memory>

#include "session/appsession.h"
#include "session/settingsrecord.h"
#include "ui/pane/helptexts.h"
#include "ui/pane/instanthelp.h"
#include "ui/pane/layouttargets.h"
#include "ui/script/reflector.h"
#include "ui/script/scriptintake.h"
#include "ui/script/scriptsurface.h"
#include "ui/script/scripttext.h"
#include "ui/script/scripttextdocument.h"
#include "ui/script/wrapnotice.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/navigationbar.h"
#include "ui/widgets/notice.h"

namespace velloran::ui {

ScriptView::ScriptView(QWidget* window, const TwipScale& scale, const PaneSetup& setup)
    : QObject(window), m_window(window), m_scale(scale), m_barShowsMarker(setup.barShowsMarker),
      m_scroller(setup.home), m_scroll(new ScriptSurface(window, m_scale, setup.texTop)),
      m_tip(new NavigationBar(window, m_scale, setup.barShowsMarker)),
      m_notice(new Notice(window, m_scale, setup.noticeTop, setup.noticeMargin)),
      m_wrapNotice(new WrapNotice(this, *m_scroll, *tex(), *m_notice, m_scale, [this] { return m_wholeScript; }))
{
    setObjectName(QStringLiteral("view"));
    m_scroll->setPosition(m_scroller.position());
    m_scroll->setAcceptsFiles(setup.acceptsFiles);
    QFont script(QStringLiteral("Arial"));
    script.setPointSizeF(setup.fontSize);
    tex()->setFont(script);
    m_tip->setScaleHeight(engine::kSurfaceHeight);

    connect(m_tip, &NavigationBar::moved, this, &ScriptView::barMoved);
    connect(tex(), &ScriptText::doubleClicked, this, &ScriptView::doubleClicked);
    connect(tex(), &ScriptText::entryRefused, m_notice, &Notice::tell);
    connect(tex(), &QPlainTextEdit::textChanged, this, &ScriptView::textChanged);
    connect(m_scroll, &ScriptSurface::scriptHeightChanged, this, &ScriptView::followScriptLength);
    connect(m_scroll, &ScriptSurface::shownContentShifted, this, &ScriptView::keepShownLines);
    connect(m_scroll, &ScriptSurface::filesDropped, this, &ScriptView::filesDropped);
}

ScriptText* ScriptView::tex() const
{
    return m_scroll->text();
}

void ScriptView::setBand(double top, double bottom)
{
    m_scroll->setBand(top, bottom);
}

void ScriptView::setSurfaceLeft(double left)
{
    m_scroll->setLeft(left);
}

void ScriptView::setSurfaceWidth(double width)
{
    m_scroll->setWidth(width);
}

void ScriptView::setTextLeft(double left)
{
    m_scroll->setTexLeft(left);
}

void ScriptView::setTextWidth(double width)
{
    m_scroll->setTexWidth(width);
}

void ScriptView::placeBar(double left, double top, double width, double height)
{
    m_scale.place(m_tip, left, top, width, height);
}

QRect ScriptView::barGeometry() const
{
    return m_tip->geometry();
}

void ScriptView::setBarGeometry(const QRect& pixels)
{
    m_tip->setGeometry(pixels);
}

void ScriptView::buildPositionHolder(QWidget* container, const QRectF& place, const QString& caption, bool hidden)
{
    m_lPos = makeLabel(container, QStringLiteral("lPos"), caption, 8.25, false);
    m_scale.place(m_lPos, place.left(), place.top(), place.width(), place.height());
    m_lPos->setVisible(!hidden);
}

void ScriptView::reflectWith(Reflector& reflector)
{
    reflector.watch(m_scroll);
    reflector.watch(tex()->viewport());
    reflector.watch(m_tip);
    m_scroll->setReflector(&reflector);
}

void ScriptView::refresh()
{
    m_scroll->refresh();
}

void ScriptView::setPointerHidden(bool hidden)
{
    if (hidden)
        m_scroll->setCursor(Qt::BlankCursor);
    else
        m_scroll->unsetCursor();
}

void ScriptView::setCaretShown(bool shown)
{
    tex()->setCursorWidth(shown ? 1 : 0);
}

void ScriptView::setScriptMenu(std::function<void(QMenu&)> addEntries)
{
    m_addToMenu = std::move(addEntries);
    tex()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tex(), &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const std::unique_ptr<QMenu> menu(tex()->createStandardContextMenu(at));
        menu->setObjectName(QStringLiteral("TexMenu"));
        m_addToMenu(*menu);
        menu->exec(tex()->viewport()->mapToGlobal(at));
    });
}

void ScriptView::registerIn(LayoutTargets& targets)
{
    targets.addSurface(m_scroll);
    targets.add(engine::LayoutControl::Tip, m_tip);
}

void ScriptView::wireHelp(InstantHelp& help, std::function<bool()> playing)
{
    help.wire({
        {m_tip, InstantHelp::fixed(help::kNavigationBar), {}},
        {tex(), InstantHelp::fixed(help::kScript),
         [this, playing] { tex()->setToolTip(playing() ? QString() : m_lPos->text()); }},
        {m_scroll, {}, [this] { m_scroll->setToolTip(m_lPos->text()); }},
    });
}

void ScriptView::ShowPosition()
{
    m_scroll->setPosition(m_scroller.position());
    const QColor colour = m_scroller.warning() ? kYellow : QColor(Qt::white);
    if (m_tip->showsMarker())
        m_tip->setMarker(m_scroller.markerTop(), colour);
    tex()->setTextColor(colour);
    m_lPos->setText(QString::fromStdString(m_scroller.readout()));
    emit positionShown();
}

void ScriptView::setPosition(double position)
{
    m_scroller.setPosition(position);
    m_scroll->setPosition(position);
}

void ScriptView::readerMoved()
{
    if (m_readerMoved)
        return;
    m_readerMoved = true;
    m_scroll->setLaysOutAbove(false);
}

double ScriptView::lineHeight() const
{
    return tex()->fontMetrics().lineSpacing() * m_scale.perPixel();
}

void ScriptView::stepFontSize(bool larger)
{
    m_scroll->stepFontSize(larger);
}

QString ScriptView::positionText() const
{
    return m_lPos->text();
}

void ScriptView::setWholeScriptReachable(bool on)
{
    if (on == m_wholeScript)
        return;
    m_wholeScript = on;
    m_scroller.setExact(on);
    m_scroll->setFollowsScript(on);
    // An estimate must not take the place of the lines shown: those above them are laid out now
    // and, while the place is still the number restored at start, whenever it is shown.
    m_scroll->setLaysOutAbove(on);
    if (m_readerMoved)
        m_scroll->setLaysOutAbove(false);
    m_tip->setShowsMarker(m_barShowsMarker || on);
    m_tip->setMarkerAlwaysSeen(on);
    if (on) {
        followScriptLength();
    } else {
        m_scroller.setRange({});
        m_tip->setScaleHeight(engine::kSurfaceHeight);
    }
    m_scroll->setPosition(m_scroller.position());
    showRangeDependents();
}

void ScriptView::showRangeDependents()
{
    // The marker and the colour; the readout only where one is shown already (the full-screen
    // window shows none until its script first moves).
    const QColor colour = m_scroller.warning() ? kYellow : QColor(Qt::white);
    if (m_tip->showsMarker())
        m_tip->setMarker(m_scroller.markerTop(), colour);
    tex()->setTextColor(colour);
    if (m_lPos && !m_lPos->text().isEmpty())
        m_lPos->setText(QString::fromStdString(m_scroller.readout()));
}

void ScriptView::followScriptLength()
{
    if (!m_wholeScript)
        return;
    const engine::ScrollRange range = engine::wholeScriptRange(m_scroll->lastLineGone());
    if (range == m_scroller.range())
        return;
    m_scroller.setRange(range);
    m_tip->setScaleHeight(range.barScale);
    showRangeDependents();
}

void ScriptView::keepShownLines(double twips)
{
    if (!m_wholeScript)
        return;
    // Until the reader first moves the script, the position restored at start is the place
    // meant, and the lines settle onto it; from then on the lines the reader sees are held.
    if (!m_readerMoved) {
        m_scroll->refresh();
        return;
    }
    m_scroller.setPosition(m_scroller.position() - twips);
    m_scroll->setPosition(m_scroller.position());
    showRangeDependents();
}

void ScriptView::takeScript(const QString& text, bool tellWrap)
{
    tex()->setPlainText(text);
    m_wrapNotice->newScript(tellWrap);
}

QString ScriptView::script() const
{
    return tex()->script();
}

QString ScriptView::PrepareText()
{
    QString text = tex()->script();
    if (text.contains(u'"')) {
        text = session::typographicQuotes(text);
        tex()->setPlainText(text);
    }
    return text;
}

qint64 ScriptView::scriptLength() const
{
    return tex()->scriptLength();
}

double ScriptView::fontSize() const
{
    return tex()->pointSize();
}

void ScriptView::setFontSize(double points)
{
    tex()->setPointSize(points);
}

std::optional<QString> ScriptView::scriptFromFile(const QString& path)
{
    return ui::scriptFromFile(path, *m_notice);
}

std::optional<QString> ScriptView::scriptFromClipboard(const std::optional<QString>& clipboard)
{
    return ui::scriptFromClipboard(clipboard, *m_notice);
}

void ScriptView::startRecoveryCopy(session::AppSession& session)
{
    session.startRecoveryCopy(m_window, tex()->document(), &ScriptTextDocument::appendBlock);
}

engine::ReadingFrame ScriptView::readingFrame() const
{
    return engine::readingFrame(m_scroll->bandTop(), m_scroll->bandBottom(), m_scroll->texTop());
}

void ScriptView::tell(const QString& message)
{
    m_notice->tell(message);
}

void ScriptView::hideNotice()
{
    m_notice->hide();
}

}  // namespace velloran::ui
