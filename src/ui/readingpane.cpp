#include "ui/readingpane.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "ui/arrowspinner.h"
#include "ui/navigationbar.h"
#include "ui/notice.h"
#include "ui/picturebutton.h"
#include "ui/scriptsurface.h"
#include "ui/scripttext.h"
#include "ui/wrapnotice.h"

namespace velloran::ui {

ReadingPane::ReadingPane(QWidget* window, platform::Services& services, SharedValues& shared,
                         const TwipScale& scale, const PaneSetup& setup, PaneHooks hooks)
    : QObject(window), m_window(window), m_services(services), m_shared(shared), m_scale(scale),
      m_setup(setup), m_hooks(std::move(hooks)), m_scroller(setup.home)
{
    m_scroll = new ScriptSurface(window, m_scale, setup.texTop);
    m_scroll->setPosition(m_scroller.position());
    m_scroll->setAcceptsFiles(setup.acceptsFiles);
    QFont script(QStringLiteral("Arial"));
    script.setPointSizeF(setup.fontSize);
    tex()->setFont(script);
    m_tip = new NavigationBar(window, m_scale, setup.barShowsMarker);

    m_tScroll = new QTimer(this);
    m_tScroll->setObjectName(QStringLiteral("tScroll"));
    m_tScroll->setTimerType(Qt::PreciseTimer);
    m_tScroll->setInterval(100);
    m_notice = new Notice(window, m_scale, setup.noticeTop, setup.noticeMargin);
    m_wrapNotice = new WrapNotice(*this, *m_notice);

    connect(m_tScroll, &QTimer::timeout, this, &ReadingPane::tScroll_Timer);
    connect(m_tip, &NavigationBar::moved, this, &ReadingPane::Tip_MouseMove);
    connect(tex(), &ScriptText::doubleClicked, this, &ReadingPane::Tex_DblClick);
    connect(tex(), &ScriptText::entryRefused, m_notice, &Notice::tell);
    connect(m_scroll, &ScriptSurface::scriptHeightChanged, this, &ReadingPane::followScriptLength);
    connect(m_scroll, &ScriptSurface::shownContentShifted, this, &ReadingPane::keepShownLines);
    m_layout.add(engine::LayoutControl::tScroll, m_tScroll);
    m_layout.add(engine::LayoutControl::Playing, &m_playing);
    m_layout.addSurface(m_scroll);
    m_layout.add(engine::LayoutControl::Tip, m_tip);
    m_layout.add(engine::LayoutControl::window, window);
    qApp->installEventFilter(this);
}

ReadingPane::~ReadingPane()
{
    qApp->removeEventFilter(this);
}

ScriptText* ReadingPane::tex() const
{
    return m_scroll->text();
}

void ReadingPane::buildPaceControls(QWidget* frame, double frequencyReadoutLeft, double frequencyReadoutWidth)
{
    m_controls = ui::buildPaceControls(frame, m_scale, frequencyReadoutLeft, frequencyReadoutWidth);
    m_tRef = new QTimer(this);
    m_tRef->setObjectName(QStringLiteral("tRef"));
    m_tRef->setInterval(7000);
    connect(m_tRef, &QTimer::timeout, frame, qOverload<>(&QWidget::update));
    m_tRef->start();
    using C = engine::LayoutControl;
    m_layout.add(C::cPlay, m_controls.cPlay);
    m_layout.add(C::cPause, m_controls.cPause);
    m_layout.add(C::sSpeed, m_controls.sSpeed);
    m_layout.add(C::sFreq, m_controls.sFreq);
    m_layout.add(C::cFile, m_controls.cFile);
    wirePaceControls();
}

void ReadingPane::wirePaceControls()
{
    const PaceControls& c = m_controls;
    connect(c.cPlay, &QAbstractButton::clicked, this, &ReadingPane::TogglePlay);
    connect(c.cPause, &PictureButton::mousePressed, this, [this](int button) {
        if (button != engine::kRightButton)
            TogglePlay();
    });
    // A press that paused has hidden the button, and a hidden control gets no release.
    connect(c.cPause, &PictureButton::mouseReleased, this, [this](int button) {
        if (button != engine::kLeftButton && m_controls.cPause->isVisible())
            LoadBackup();
    });
    connect(c.sSpeed, &QAbstractSlider::valueChanged, this, &ReadingPane::sSpeed_Change);
    connect(c.sFreq, &QAbstractSlider::valueChanged, this, &ReadingPane::sFreq_Change);
    connect(c.cReset, &QAbstractButton::clicked, this, &ReadingPane::cReset_Click);
    connect(c.cFntPlus, &QAbstractButton::clicked, this, &ReadingPane::cFntPlus_Click);
    connect(c.cFntMinus, &QAbstractButton::clicked, this, &ReadingPane::cFntMinus_Click);
}

QPushButton* ReadingPane::accelerator(const OutOfSight& place, int index, const QString& name,
                                      const QString& caption)
{
    QPushButton* button = makeAccelerator(place.container, name, caption);
    m_scale.place(button, place.left + index * place.step, place.top, 255, 255);
    return button;
}

void ReadingPane::buildOutOfSight(const OutOfSight& place)
{
    // Never seen, but their Alt keys work.
    connect(accelerator(place, 0, QStringLiteral("cPlay2"), QStringLiteral("&p")), &QAbstractButton::clicked,
            this, &ReadingPane::TogglePlay);
    connect(accelerator(place, 1, QStringLiteral("cUpB"), QStringLiteral("&/")), &QAbstractButton::clicked,
            this, &ReadingPane::nudgeUp);
    connect(accelerator(place, 2, QStringLiteral("cDwnB"), QStringLiteral("&\\")), &QAbstractButton::clicked,
            this, &ReadingPane::nudgeDown);
    connect(accelerator(place, 3, QStringLiteral("cBack"), QStringLiteral("&b")), &QAbstractButton::clicked,
            this, &ReadingPane::LoadBackup);
    m_lPos = makeLabel(place.container, QStringLiteral("lPos"), place.positionCaption, 8.25, false);
    const QRectF& r = place.positionHolder;
    m_scale.place(m_lPos, r.left(), r.top(), r.width(), r.height());
    m_lPos->setVisible(!place.positionHidden);
}

void ReadingPane::TogglePlay()
{
    if (m_hooks.playGate && m_hooks.playGate())
        return;
    if (m_hooks.beforeToggle)
        m_hooks.beforeToggle();
    m_layout.apply(m_hooks.layout(!m_tScroll->isActive()));
    if (m_hooks.toggled)
        m_hooks.toggled(m_playing);
}

void ReadingPane::ShowPosition()
{
    m_scroll->setPosition(m_scroller.position());
    const QColor colour = m_scroller.warning() ? kYellow : QColor(Qt::white);
    if (m_tip->showsMarker())
        m_tip->setMarker(m_scroller.markerTop(), colour);
    tex()->setTextColor(colour);
    m_lPos->setText(QString::fromStdString(m_scroller.readout()));
    if (m_hooks.positionShown)
        m_hooks.positionShown();
}

void ReadingPane::setWholeScriptReachable(bool on)
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
    m_tip->setShowsMarker(m_setup.barShowsMarker || on);
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

void ReadingPane::showRangeDependents()
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

void ReadingPane::followScriptLength()
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

void ReadingPane::keepShownLines(double twips)
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

void ReadingPane::readerMoved()
{
    if (m_readerMoved)
        return;
    m_readerMoved = true;
    m_scroll->setLaysOutAbove(false);
}

void ReadingPane::setPosition(double position)
{
    m_scroller.setPosition(position);
    m_scroll->setPosition(position);
}

void ReadingPane::jumpTo(double position)
{
    readerMoved();
    m_scroller.setPosition(position);
    ShowPosition();
}

void ReadingPane::tScroll_Timer()
{
    readerMoved();
    m_scroller.tick(m_shared.pace.frequency);
    ShowPosition();
}

void ReadingPane::sSpeed_Change()
{
    m_shared.pace.speed = static_cast<std::int16_t>(m_controls.sSpeed->value());
    m_tScroll->setInterval(m_shared.pace.speed);
    m_controls.lScrd->setText(QString::fromStdString(engine::speedReadout(m_shared.pace.speed)));
    if (m_hooks.ratesChanged)
        m_hooks.ratesChanged();
}

void ReadingPane::sFreq_Change()
{
    m_shared.pace.frequency = static_cast<std::int16_t>(m_controls.sFreq->value());
    m_controls.lScrnt->setText(QString::fromStdString(engine::frequencyReadout(m_shared.pace.frequency)));
    if (m_hooks.ratesChanged)
        m_hooks.ratesChanged();
}

void ReadingPane::takePaceFromSpinners()
{
    m_shared.pace.frequency = static_cast<std::int16_t>(frequencyValue());
    m_shared.pace.speed = static_cast<std::int16_t>(speedValue());
    m_tScroll->setInterval(m_shared.pace.speed);
}

void ReadingPane::takePace(int speed, int frequency)
{
    m_shared.pace.frequency = static_cast<std::int16_t>(frequency);
    m_shared.pace.speed = static_cast<std::int16_t>(speed);
    m_tScroll->setInterval(m_shared.pace.speed);
    // Only a value that differs runs the spinner's change handling and writes its readout.
    m_controls.sFreq->setValue(m_shared.pace.frequency);
    m_controls.sSpeed->setValue(m_shared.pace.speed);
}

int ReadingPane::speedValue() const
{
    return m_controls.sSpeed->value();
}

int ReadingPane::frequencyValue() const
{
    return m_controls.sFreq->value();
}

void ReadingPane::nudgeUp()
{
    readerMoved();
    if (m_scroller.nudgeUp())
        ShowPosition();
}

void ReadingPane::nudgeDown()
{
    readerMoved();
    if (m_scroller.nudgeDown())
        ShowPosition();
}

void ReadingPane::backOneLine()
{
    m_readerMoved = true;
    if (m_scroller.stepBack(tex()->fontMetrics().lineSpacing() * m_scale.perPixel()))
        ShowPosition();
}

void ReadingPane::cReset_Click()
{
    readerMoved();
    m_scroller.goHome();
    resetClock();
    ShowPosition();
}

void ReadingPane::resetClock()
{
    m_shared.clock.reset();
    if (m_hooks.clockReset)
        m_hooks.clockReset();
}

void ReadingPane::cFntPlus_Click()
{
    m_scroll->stepFontSize(true);
}

void ReadingPane::cFntMinus_Click()
{
    m_scroll->stepFontSize(false);
}

void ReadingPane::Tip_MouseMove(int buttons, double y)
{
    const engine::BarOutcome outcome = m_scroller.moveOnBar(buttons, m_tScroll->isActive(), y);
    if (outcome == engine::BarOutcome::Ignored)
        return;
    readerMoved();
    if (outcome == engine::BarOutcome::Placed && m_setup.placingResetsClock)
        resetClock();
    ShowPosition();
}

void ReadingPane::clearReadouts()
{
    m_controls.lScrd->clear();
    m_controls.lScrnt->clear();
}

}  // namespace velloran::ui
