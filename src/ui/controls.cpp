#include "ui/controls.h"

#include <QLabel>
#include <QPushButton>

#include "engine/pace.h"
#include "ui/acceleratorbutton.h"
#include "ui/arrowspinner.h"
#include "ui/picturebutton.h"
#include "ui/twipscale.h"

namespace velloran::ui {

QWidget* makePanel(QWidget* parent, const QString& name, const QColor& colour)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(name);
    panel->setAutoFillBackground(true);
    QPalette colours = panel->palette();
    colours.setColor(QPalette::Window, colour);
    panel->setPalette(colours);
    return panel;
}

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, double points, bool bold)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    label->setMouseTracking(true);
    return label;
}

QPushButton* makeAccelerator(QWidget* parent, const QString& name, const QString& caption)
{
    QPushButton* button = new AcceleratorButton(caption, parent);
    button->setObjectName(name);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

QWidget* makeDecoration(QWidget* parent, const TwipScale& scale, const QString& name, double left, double top,
                        double width, double height, const QColor& colour)
{
    QWidget* shape = makePanel(parent, name, colour);
    shape->setAttribute(Qt::WA_TransparentForMouseEvents);
    scale.place(shape, left, top, width, height);
    return shape;
}

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

}  // namespace

void colourText(QLabel* label, const QColor& colour)
{
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, colour);
    label->setPalette(colours);
}

PaceControls buildPaceControls(QWidget* f, const TwipScale& scale, double frequencyReadoutLeft,
                               double frequencyReadoutWidth)
{
    using Glyph = PictureButton::Glyph;
    for (double left : {240.0, 1080.0, 1920.0, 8400.0, 9240.0, 10080.0})
        addShadow(f, scale, left, 240, 615);
    addShadow(f, scale, 2760, 360, 495);
    addShadow(f, scale, 7680, 360, 495);

    PaceControls c {};
    c.cFntPlus = new PictureButton(QStringLiteral("cFntPlus"), Glyph::Plus, f);
    scale.place(c.cFntPlus, 240, 240, 615, 615);
    c.cFntMinus = new PictureButton(QStringLiteral("cFntMinus"), Glyph::Minus, f);
    scale.place(c.cFntMinus, 1080, 240, 615, 615);
    c.cReset = new PictureButton(QStringLiteral("cReset"), Glyph::Reset, f);
    scale.place(c.cReset, 1920, 240, 615, 615);

    c.lScrd = makeLabel(f, QStringLiteral("lScrd"), QString(), 8.25, true);
    scale.place(c.lScrd, 2520, 120, 975, 255);
    c.lSpeed = makeLabel(f, QStringLiteral("lSpeed"), QString(), 8.25, false);
    scale.place(c.lSpeed, 2520, 360, 975, 495);
    c.sSpeed = new ArrowSpinner(QStringLiteral("sSpeed"), Qt::Vertical, f);
    scale.place(c.sSpeed, 2760, 360, 495, 495);
    setUpSpinner(c.sSpeed, engine::kSpeedRange);

    c.cPlay = new PictureButton(QStringLiteral("cPlay"), Glyph::Play, f);
    scale.place(c.cPlay, 3480, 360, 3975, 495);
    c.cPause = new PictureButton(QStringLiteral("cPause"), Glyph::Pause, f);
    scale.place(c.cPause, 3480, 360, 3975, 495);
    c.cPause->hide();

    c.lScrnt = makeLabel(f, QStringLiteral("lScrnt"), QString(), 8.25, true);
    scale.place(c.lScrnt, frequencyReadoutLeft, 120, frequencyReadoutWidth, 255);
    c.lFreq = makeLabel(f, QStringLiteral("lFreq"), QString(), 8.25, false);
    scale.place(c.lFreq, 7440, 360, 975, 495);
    c.sFreq = new ArrowSpinner(QStringLiteral("sFreq"), Qt::Horizontal, f);
    scale.place(c.sFreq, 7680, 360, 495, 495);
    setUpSpinner(c.sFreq, engine::kFrequencyRange);

    c.cFile = new PictureButton(QStringLiteral("cFile"), Glyph::Folder, f);
    scale.place(c.cFile, 8400, 240, 615, 615);
    return c;
}

}  // namespace velloran::ui
