#include "ui/pane/pacecontrols.h"

#include <QLabel>
#include <QTimer>

#include "engine/fontsize.h"
#include "engine/pace.h"
#include "engine/scroller.h"
#include "session/appsession.h"
#include "ui/pane/helptexts.h"
#include "ui/pane/instanthelp.h"
#include "ui/pane/layouttargets.h"
#include "ui/pane/panesetup.h"
#include "ui/pane/readingpane.h"
#include "ui/widgets/arrowspinner.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/picturebutton.h"

namespace velloran::ui {

namespace {

// The grey square behind a button of the given size, 120 twips to its right and below.
void addShadow(QWidget* parent, const TwipScale& scale, double left, double top, double size)
{
    const double shadowSize = size - 120;
    makeDecoration(parent, scale, QStringLiteral("Shape3"), left + size + 120 - shadowSize,
                   top + size + 120 - shadowSize, shadowSize, shadowSize, kDarkGrey)
        ->lower();
}

void setUpSpinner(ArrowSpinner* spinner, const engine::SpinnerRange& range)
{
    spinner->setRange(range.minimum, range.maximum);
    spinner->setSingleStep(range.step);
    spinner->setPageStep(range.step);
    spinner->setValue(range.designValue);
    spinner->setEnabled(false);
    spinner->raise();  // in front of the hover label around it
}

PictureButton* button(QWidget* frame, const TwipScale& scale, const char* name, PictureButton::Glyph glyph,
                      QRectF twips)
{
    auto* made = new PictureButton(QString::fromLatin1(name), glyph, frame);
    scale.place(made, twips.left(), twips.top(), twips.width(), twips.height());
    return made;
}

QLabel* label(QWidget* frame, const TwipScale& scale, const char* name, bool bold, QRectF twips)
{
    QLabel* made = makeLabel(frame, QString::fromLatin1(name), QString(), 8.25, bold);
    scale.place(made, twips.left(), twips.top(), twips.width(), twips.height());
    return made;
}

}  // namespace

PaceControls::PaceControls(QWidget* f, const TwipScale& scale, double frequencyReadoutLeft,
                           double frequencyReadoutWidth)
    : QObject(f), m_tRef(new QTimer(this))
{
    using Glyph = PictureButton::Glyph;
    for (double left : {240.0, 1080.0, 1920.0, 8400.0, 9240.0, 10080.0})
        addShadow(f, scale, left, 240, 615);
    addShadow(f, scale, 2760, 360, 495);
    addShadow(f, scale, 7680, 360, 495);

    m_cFntPlus = button(f, scale, "cFntPlus", Glyph::Plus, {240, 240, 615, 615});
    m_cFntMinus = button(f, scale, "cFntMinus", Glyph::Minus, {1080, 240, 615, 615});
    m_cReset = button(f, scale, "cReset", Glyph::Reset, {1920, 240, 615, 615});
    m_lScrd = label(f, scale, "lScrd", true, {2520, 120, 975, 255});
    m_lSpeed = label(f, scale, "lSpeed", false, {2520, 360, 975, 495});
    m_sSpeed = new ArrowSpinner(QStringLiteral("sSpeed"), Qt::Vertical, f);
    scale.place(m_sSpeed, 2760, 360, 495, 495);
    setUpSpinner(m_sSpeed, engine::kSpeedRange);

    m_cPlay = button(f, scale, "cPlay", Glyph::Play, {3480, 360, 3975, 495});
    m_cPause = button(f, scale, "cPause", Glyph::Pause, {3480, 360, 3975, 495});
    m_cPause->hide();

    m_lScrnt = label(f, scale, "lScrnt", true, {frequencyReadoutLeft, 120, frequencyReadoutWidth, 255});
    m_lFreq = label(f, scale, "lFreq", false, {7440, 360, 975, 495});
    m_sFreq = new ArrowSpinner(QStringLiteral("sFreq"), Qt::Horizontal, f);
    scale.place(m_sFreq, 7680, 360, 495, 495);
    setUpSpinner(m_sFreq, engine::kFrequencyRange);

    m_cFile = button(f, scale, "cFile", Glyph::Folder, {8400, 240, 615, 615});

    m_tRef->setObjectName(QStringLiteral("tRef"));
    m_tRef->setInterval(7000);
    connect(m_tRef, &QTimer::timeout, f, qOverload<>(&QWidget::update));
    m_tRef->start();
}

void PaceControls::wire(ReadingPane& pane, session::AppSession& session, QTimer* tick)
{
    m_session = &session;
    m_tick = tick;
    connect(m_cPlay, &QAbstractButton::clicked, &pane, &ReadingPane::TogglePlay);
    connect(m_cPause, &PictureButton::mousePressed, &pane, [&pane](int button) {
        if (button != engine::kRightButton)
            pane.TogglePlay();
    });
    // A press that paused has hidden the button, and a hidden control gets no release.
    connect(m_cPause, &PictureButton::mouseReleased, &pane, [this, &pane](int button) {
        if (button != engine::kLeftButton && m_cPause->isVisible())
            pane.LoadBackup();
    });
    connect(m_sSpeed, &QAbstractSlider::valueChanged, this, &PaceControls::sSpeed_Change);
    connect(m_sFreq, &QAbstractSlider::valueChanged, this, &PaceControls::sFreq_Change);
    connect(m_cReset, &QAbstractButton::clicked, &pane, &ReadingPane::cReset_Click);
    connect(m_cFntPlus, &QAbstractButton::clicked, &pane, &ReadingPane::cFntPlus_Click);
    connect(m_cFntMinus, &QAbstractButton::clicked, &pane, &ReadingPane::cFntMinus_Click);
    connect(m_cFile, &PictureButton::mousePressed, this, &PaceControls::textFinderPressed);
}

void PaceControls::registerIn(LayoutTargets& targets) const
{
    using C = engine::LayoutControl;
    targets.add(C::cPlay, m_cPlay);
    targets.add(C::cPause, m_cPause);
    targets.add(C::sSpeed, m_sSpeed);
    targets.add(C::sFreq, m_sFreq);
    targets.add(C::cFile, m_cFile);
}

void PaceControls::wireHelp(InstantHelp& help, const PaneSetup& setup, const std::function<QString()>& positionText,
                            const std::function<double()>& fontSize)
{
    const auto fixed = &InstantHelp::fixed;
    const auto fontTooltip = [fontSize](PictureButton* button) {
        return [fontSize, button] {
            button->setToolTip(QString::fromStdString(engine::fontSizeTooltip(static_cast<float>(fontSize()))));
        };
    };
    const auto speed = [this] { return QString::fromStdString(help::speedHelp(m_session->pace().speed)); };
    const auto frequency = [this] {
        return QString::fromStdString(help::frequencyHelp(m_session->pace().frequency));
    };
    const auto speedReadout = [this] {
        m_lScrd->setText(QString::fromStdString(engine::speedReadout(m_session->pace().speed)));
    };
    const auto frequencyReadout = [this] {
        m_lScrnt->setText(QString::fromStdString(engine::frequencyReadout(m_session->pace().frequency)));
    };
    std::vector<InstantHelp::Row> rows {
        {m_cPlay, fixed(setup.playHelp), [this] { clearReadouts(); }},
        {m_cPause, fixed(setup.pauseHelp),
         [this, positionText] {
             clearReadouts();
             m_cPause->setToolTip(positionText());
         }},
        {m_cReset, fixed(help::kReset), {}},
        {m_cFntPlus, fixed(help::kFontPlus), fontTooltip(m_cFntPlus)},
        {m_cFntMinus, fixed(help::kFontMinus), fontTooltip(m_cFntMinus)},
        {m_lSpeed, speed, [this] { m_lScrd->clear(); }},
        {m_lScrd, speed, speedReadout},
        {m_lFreq, frequency, [this] { m_lScrnt->clear(); }},
        {m_lScrnt, frequency, frequencyReadout},
    };
    // The TextFinder is the main window's alone.
    if (setup.acceptsFiles)
        rows.push_back({m_cFile, fixed(help::kTextFinder), {}});
    help.wire(rows);
}

void PaceControls::sSpeed_Change()
{
    m_session->setSpeed(m_sSpeed->value());
    m_tick->setInterval(m_session->pace().speed);
    m_lScrd->setText(QString::fromStdString(engine::speedReadout(m_session->pace().speed)));
}

void PaceControls::sFreq_Change()
{
    m_session->setFrequency(m_sFreq->value());
    m_lScrnt->setText(QString::fromStdString(engine::frequencyReadout(m_session->pace().frequency)));
}

void PaceControls::takePaceFromSpinners()
{
    m_session->setFrequency(frequencyValue());
    m_session->setSpeed(speedValue());
    m_tick->setInterval(m_session->pace().speed);
}

void PaceControls::takePace(int speed, int frequency)
{
    m_session->setFrequency(frequency);
    m_session->setSpeed(speed);
    m_tick->setInterval(m_session->pace().speed);
    // Only a value that differs runs the spinner's change handling and writes its readout.
    m_sFreq->setValue(m_session->pace().frequency);
    m_sSpeed->setValue(m_session->pace().speed);
}

int PaceControls::speedValue() const
{
    return m_sSpeed->value();
}

int PaceControls::frequencyValue() const
{
    return m_sFreq->value();
}

void PaceControls::setSpeedValue(int speed)
{
    m_sSpeed->setValue(speed);
}

void PaceControls::setFrequencyValue(int frequency)
{
    m_sFreq->setValue(frequency);
}

void PaceControls::clearReadouts()
{
    m_lScrd->clear();
    m_lScrnt->clear();
}

void PaceControls::colourReadouts(const QColor& colour)
{
    colourText(m_lScrd, colour);
    colourText(m_lScrnt, colour);
}

}  // namespace velloran::ui
