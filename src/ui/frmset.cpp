#include "ui/frmset.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "platform/services.h"
#include "session/settingsstore.h"
#include "ui/accessibletexts.h"
#include "ui/controlpanel.h"
#include "ui/frmfull.h"
#include "ui/helppanel.h"
#include "ui/helptexts.h"
#include "ui/instanthelp.h"
#include "ui/navigationbar.h"
#include "ui/picturebutton.h"
#include "ui/preferencesdialog.h"
#include "ui/readingpane.h"
#include "ui/recoverycopy.h"
#include "ui/scriptsurface.h"
#include "ui/scripttext.h"
#include "ui/statsstrip.h"
#include "ui/textfinder.h"
#include "ui/textfinderglue.h"
#include "ui/timingaids.h"
#include "ui/welcomescript.h"
#include "ui/wrapnotice.h"

namespace velloran::ui {

frmSet::frmSet(platform::Services& services, SharedValues& shared, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_services(services), m_shared(shared),
      m_scale(TwipScale::of(this))
{
    buildWindow();
    m_pane = new ReadingPane(this, services, shared, m_scale, kMainWindowPane, paneHooks());
    buildWindowControls();
    registerLayoutTargets();
    buildTimingAids();
    tex()->setPlainText(welcomeScript());
    m_pane->wrapNotice()->newScript(false);  // the built-in guide is no script of the reader's
    m_strip->countCharacters(tex()->scriptLength());
    m_recovery = new RecoveryCopy(this, tex()->document(), [this] { return m_pane->snapshot(); });
    connect(m_recovery, &RecoveryCopy::copyFailed, this, &frmSet::recoveryCopyFailed);
    connect(m_recovery, &RecoveryCopy::copyWritten, this, [this](bool ok) { m_toldNoRecovery &= !ok; });
    connect(tex(), &QPlainTextEdit::textChanged, this,
            [this] { m_strip->countCharacters(tex()->scriptLength()); });
    connect(m_panel->fullButton(), &QAbstractButton::clicked, this, &frmSet::cFull_Click);
    // The script's edit menu, with the Preferences, which the mouse reaches nowhere else.
    tex()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tex(), &QWidget::customContextMenuRequested, this, &frmSet::scriptMenu);
    wireHelpTexts();
    wireMoveAreas();
    describeControls(this, paneAccessibleTexts(kMainWindowPane.playHelp, kMainWindowPane.pauseHelp));
    describeControls(this, mainWindowAccessibleTexts());
}

frmSet::~frmSet() = default;

void frmSet::buildWindow()
{
    setObjectName(QStringLiteral("frmSet"));
    setWindowTitle(QStringLiteral(" Velloran"));
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kGrey);
    setPalette(colours);
    setFixedSize(m_scale.px(10935), m_scale.px(6975));
}

PaneHooks frmSet::paneHooks()
{
    PaneHooks hooks;
    hooks.layout = [](bool toPlaying) {
        return toPlaying ? engine::mainPlayingLayout() : engine::mainPausedLayout();
    };
    hooks.beforeToggle = [this] { HidePanels(); };
    hooks.positionShown = [this] {
        m_strip->showPosition();
        m_strip->ShowRates();
    };
    hooks.ratesChanged = [this] { m_strip->ShowRates(); };
    hooks.clockReset = [this] { m_strip->writeClock(); };
    hooks.backupPath = [this] { return backupPath(); };
    hooks.saveToEnd = [this] { return SaveSettings(); };
    hooks.endProgram = [this](bool discardRecovery) { endProgram(discardRecovery); };
    hooks.minimise = [this] { setWindowState(windowState() | Qt::WindowMinimized); };
    return hooks;
}

// The pane's surface and bar in the window, and the controls that are the window's own.
void frmSet::buildWindowControls()
{
    ScriptSurface* surface = m_pane->surface();
    surface->setBand(495, 5280);
    surface->setLeft(240);
    surface->setWidth(9975);
    surface->setTexLeft(120);
    surface->setTexWidth(9735);
    m_scale.place(m_pane->tip(), 10440, 480, 255, 3975);
    m_cUp = new PictureButton(QStringLiteral("cUp"), PictureButton::Glyph::Up, this);
    m_scale.place(m_cUp, 10440, 4680, 255, 255);
    m_cDwn = new PictureButton(QStringLiteral("cDwn"), PictureButton::Glyph::Down, this);
    m_scale.place(m_cDwn, 10440, 5040, 255, 255);
    connect(m_cUp, &QAbstractButton::clicked, m_pane, &ReadingPane::nudgeUp);
    connect(m_cDwn, &QAbstractButton::clicked, m_pane, &ReadingPane::nudgeDown);

    m_strip = new StatsStrip(this, m_scale, m_shared, [this] { return m_pane->positionHolder()->text(); });
    m_panel = new ControlPanel(this, m_scale, *m_pane);
    m_helpPanel = new HelpPanel(this, m_scale, helpFile());
    m_finder = new TextFinderGlue(
        this, m_scale, *m_pane, [this] { HidePanels(); },
        [this](const QString& path) { setBackupPath(path); });
    m_line16 = makeDecoration(this, m_scale, QStringLiteral("Line16"), 10200, 5280, 480, 15, kDarkGrey);
    m_line16->hide();
    m_line17 = makeDecoration(this, m_scale, QStringLiteral("Line17"), 10700, 600, 15, 4680, kDarkGrey);
    m_line17->hide();

    // Below the visible part of the window.
    m_pane->buildOutOfSight(
        {this, 360, 7680, 360, QRectF(240, 8520, 2055, 255), QStringLiteral("Position : 480"), true});
    QPushButton* options = makeAccelerator(this, QStringLiteral("cPrefs"), QStringLiteral("&o"));
    m_scale.place(options, 360 + 4 * 360, 7680, 255, 255);
    connect(options, &QAbstractButton::clicked, this, &frmSet::editPreferences);
    m_lBkPath = makeLabel(this, QStringLiteral("lBkPath"), QString(), 8.25, false);
    m_scale.place(m_lBkPath, 240, 8160, 2055, 255);
}

void frmSet::buildTimingAids()
{
    TimingPlaces places;
    places.readouts = m_strip->frame();
    places.timeLeftPlace = QRectF(2220, 210, 1980, 255);  // beside the run time
    places.readoutPoints = 9.75;
    places.makeRoom = [this](bool shown) { m_strip->makeRoomForTimeLeft(shown); };
    // Centred over the script, at the reading height (495 + (5280 - 495) / 3).
    places.countPlace = [] { return QRectF(5227 - 1200, 2090 - 900, 2400, 1800); };
    m_timing = new TimingAids(this, *m_pane, m_shared, std::move(places));
}

void frmSet::registerLayoutTargets()
{
    using C = engine::LayoutControl;
    LayoutTargets& targets = m_pane->layoutTargets();
    targets.add(C::tTime, m_strip->clockTimer());
    targets.add(C::cUp, m_cUp);
    targets.add(C::cDwn, m_cDwn);
    targets.add(C::Line16, m_line16);
    targets.add(C::Line17, m_line17);
    targets.add(C::tHelp, m_helpPanel->panel());
}

ScriptText* frmSet::tex() const
{
    return m_pane->tex();
}

bool frmSet::Form_Load()
{
    if (!m_services.acquireSingleInstance()) {
        endProgram(false);
        return false;
    }
    setFixedHeight(m_scale.px(6975));
    m_pane->tip()->setScaleHeight(engine::kSurfaceHeight);
    LoadSettings();
    m_pane->takePaceFromSpinners();
    m_strip->ShowRates();
    m_pane->ShowPosition();
    m_helpPanel->LoadHelpFile();
    m_strip->writeClock();
    m_scale.place(m_finder->panel(), 3480, 720, 3735, 4575);
    m_strip->ToggleStats();  // from statsShown false: the captions show
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    m_recovery->start(session::recoveryPaths(stateFolder()));
    return true;
}

void frmSet::HidePanels()
{
    m_finder->hide();
    m_helpPanel->hide();
}

void frmSet::ToggleStats()
{
    m_strip->ToggleStats();
}

void frmSet::ToggleTextFinder()
{
    m_finder->ToggleTextFinder();
}

void frmSet::DragWindow()
{
    m_services.startWindowMove(this);
}

void frmSet::cFull_Click()
{
    if (m_pane->playing())
        m_pane->TogglePlay();
    hide();
    m_full = new frmFull(m_services, m_shared, *this);
    connect(this, &frmSet::preferencesChanged, m_full, &frmFull::applyPreferences);
    m_full->Form_Load();
    m_full->show();
}

void frmSet::scriptMenu(const QPoint& at)
{
    const std::unique_ptr<QMenu> menu(tex()->createStandardContextMenu(at));
    menu->setObjectName(QStringLiteral("TexMenu"));
    menu->addSeparator();
    QAction* options = menu->addAction(QStringLiteral("Preferences...\tAlt+O"));
    options->setObjectName(QStringLiteral("mPreferences"));
    options->setEnabled(!m_pane->playing());
    // Once the menu has closed.
    connect(options, &QAction::triggered, this, &frmSet::editPreferences, Qt::QueuedConnection);
    menu->exec(tex()->viewport()->mapToGlobal(at));
}

void frmSet::showAgain()
{
    // The clock may have counted in full screen.
    if (m_timing->options().timeLeft)
        m_strip->writeClock();
    show();
}

session::Preferences frmSet::preferences() const
{
    return session::loadPreferences(preferencesFileToRead());
}

void frmSet::changePreferences(const session::Preferences& preferences)
{
    if (!session::savePreferences(preferencesFile(), preferences))
        std::fprintf(stderr, "velloran: the preferences could not be saved to %s\n",
                     qPrintable(preferencesFile()));
    setWholeScriptReachable(preferences.wholeScriptReachable);
    m_timing->apply(preferences);
    emit preferencesChanged(preferences);
}

QScreen* frmSet::hostScreen() const
{
    return screen();
}

void frmSet::editPreferences()
{
    // A dialog over a moving script would stop nothing and hide the text being read.
    if (m_pane->playing())
        return;
    const session::Preferences before = preferences();
    PreferencesDialog dialog(before, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const session::Preferences chosen = dialog.chosen();
    // Unchanged options leave the file as it was, or absent.
    if (chosen != before)
        changePreferences(chosen);
}

QString frmSet::script() const
{
    return tex()->script();
}

int frmSet::speedValue() const
{
    return m_pane->speedValue();
}

int frmSet::frequencyValue() const
{
    return m_pane->frequencyValue();
}

void frmSet::closeEvent(QCloseEvent* event)
{
    // A close from outside saves on the way out; the exits that end at once have saved already.
    // When the save fails and the user chooses to stay, the window stays.
    if (!saveOnClose()) {
        event->ignore();
        return;
    }
    event->accept();
    if (m_full)
        m_full->close();
}

}  // namespace velloran::ui
