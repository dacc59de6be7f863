#include "ui/mainwindow/frmset.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include "platform/services.h"
#include "session/appsession.h"
#include "ui/mainwindow/controlpanel.h"
#include "ui/mainwindow/helppanel.h"
#include "ui/mainwindow/preferencesdialog.h"
#include "ui/mainwindow/statsstrip.h"
#include "ui/mainwindow/textfinder.h"
#include "ui/mainwindow/textfinderglue.h"
#include "ui/mainwindow/welcomescript.h"
#include "ui/pane/accessibletexts.h"
#include "ui/pane/helptexts.h"
#include "ui/pane/instanthelp.h"
#include "ui/pane/panesetup.h"
#include "ui/pane/readingpane.h"
#include "ui/pane/scriptview.h"
#include "ui/pane/timingaids.h"
#include "ui/pane/voicecontrol.h"
#include "ui/pane/voiceindicator.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/mouserelay.h"
#include "ui/widgets/picturebutton.h"

namespace velloran::ui {

frmSet::frmSet(session::AppSession& session, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_session(session), m_scale(TwipScale::of(this))
{
    buildWindow();
    m_view = new ScriptView(this, m_scale, kMainWindowPane);
    m_pane = new ReadingPane(this, session, *m_view, kMainWindowPane, [](bool toPlaying) {
        return toPlaying ? engine::mainPlayingLayout() : engine::mainPausedLayout();
    });
    buildWindowControls();
    registerLayoutTargets();
    buildTimingAids();
    m_view->takeScript(welcomeScript(), false);  // the built-in guide is no script of the reader's
    m_strip->countCharacters(m_view->scriptLength());
    m_view->setScriptMenu([this](QMenu& menu) { addMenuEntries(menu); });
    wireSession();
    wireHelpTexts();
    wireMoveAreas();
    describeControls(this, paneAccessibleTexts(kMainWindowPane.playHelp, kMainWindowPane.pauseHelp));
    describeControls(this, mainWindowAccessibleTexts());
}

frmSet::~frmSet()
{
    m_session.setMainWindow({});
}

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

// The view's surface and bar in the window, and the controls that are the window's own.
void frmSet::buildWindowControls()
{
    m_view->setBand(495, 5280);
    m_view->setSurfaceLeft(240);
    m_view->setSurfaceWidth(9975);
    m_view->setTextLeft(120);
    m_view->setTextWidth(9735);
    m_view->placeBar(10440, 480, 255, 3975);
    m_cUp = new PictureButton(QStringLiteral("cUp"), PictureButton::Glyph::Up, this);
    m_scale.place(m_cUp, 10440, 4680, 255, 255);
    m_cDwn = new PictureButton(QStringLiteral("cDwn"), PictureButton::Glyph::Down, this);
    m_scale.place(m_cDwn, 10440, 5040, 255, 255);
    connect(m_cUp, &QAbstractButton::clicked, m_pane, &ReadingPane::nudgeUp);
    connect(m_cDwn, &QAbstractButton::clicked, m_pane, &ReadingPane::nudgeDown);

    m_strip = new StatsStrip(this, m_scale, m_session, [this] { return m_view->positionText(); });
    m_panel = new ControlPanel(this, m_scale, *m_pane);
    m_helpPanel = new HelpPanel(this, m_scale, m_session.helpFile());
    m_finder = new TextFinderGlue(
        this, m_scale, *m_pane, *m_view, [this] { HidePanels(); },
        [this](const QString& path) { m_session.setBackupPath(path); });
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
    // Following the reader's voice: Alt+V, and its indicator upright in the margin left of the
    // script, below the middle, where nothing of the window stands.
    QPushButton* follow = makeAccelerator(this, QStringLiteral("cVoice"), QStringLiteral("&v"));
    m_scale.place(follow, 360 + 5 * 360, 7680, 255, 255);
    connect(follow, &QAbstractButton::clicked, this, [this] { VoiceControl::of(m_session).toggle(); });
    auto* voiceMark = new VoiceIndicator(this, false);
    m_scale.place(voiceMark, 15, 2880, 210, 2280);
    connect(voiceMark, &VoiceIndicator::wantedChanged, voiceMark,
            [voiceMark] { voiceMark->setVisible(voiceMark->wanted()); });
    VoiceControl::of(m_session).attach(*m_pane, *m_view, voiceMark);
    m_lBkPath = makeLabel(this, QStringLiteral("lBkPath"), QString(), 8.25, false);
    m_scale.place(m_lBkPath, 240, 8160, 2055, 255);
}

void frmSet::registerLayoutTargets()
{
    using C = engine::LayoutControl;
    LayoutTargets& targets = m_pane->layoutTargets();
    targets.add(C::tTime, m_session.clockTimer());
    targets.add(C::cUp, m_cUp);
    targets.add(C::cDwn, m_cDwn);
    targets.add(C::Line16, m_line16);
    targets.add(C::Line17, m_line17);
    targets.add(C::tHelp, m_helpPanel->panel());
}

// What the window shows of the session, and what it tells the session.
void frmSet::wireSession()
{
    m_session.setMainWindow({this, m_pane});
    connect(&m_session, &session::AppSession::notice, this, [this](const QString& message) {
        if (!m_session.fullScreenShown())
            m_view->tell(message);
    });
    connect(&m_session, &session::AppSession::backupPathChanged, this, [this](const QString& path) {
        m_lBkPath->setText(path);
        m_panel->showBackupTitle(path);
    });
    connect(&m_session, &session::AppSession::paceChanged, m_strip, &StatsStrip::ShowRates);
    connect(&m_session, &session::AppSession::clockChanged, m_strip, &StatsStrip::writeClock);
    connect(m_view, &ScriptView::positionShown, this, [this] {
        m_strip->showPosition();
        m_strip->ShowRates();
    });
    connect(m_view, &ScriptView::textChanged, this,
            [this] { m_strip->countCharacters(m_view->scriptLength()); });
    connect(m_pane, &ReadingPane::aboutToToggle, this, &frmSet::HidePanels);
    connect(m_pane, &ReadingPane::minimiseRequested, this,
            [this] { setWindowState(windowState() | Qt::WindowMinimized); });
    connect(m_panel->fullButton(), &QAbstractButton::clicked, this, &frmSet::cFull_Click);
}

void frmSet::wireHelpTexts()
{
    auto* instantHelp = new InstantHelp(m_panel->helpBar());
    m_pane->wireHelp(*instantHelp);
    m_finder->wireHelp(*instantHelp);
    const auto fixed = &InstantHelp::fixed;
    const auto clearReadouts = [this] { m_pane->clearReadouts(); };
    QLabel* backupTitle = m_panel->backupTitle();
    const auto backupText = [backupTitle] {
        return backupTitle->text().isEmpty() ? QString() : InstantHelp::qs(help::kBackupLabel);
    };
    instantHelp->wire({
        {this, fixed(help::kDefault), {}},
        {m_panel->frame(), fixed(help::kDefault), clearReadouts},
        {backupTitle, backupText, clearReadouts},
        {m_panel->helpButton(), fixed(help::kHelpButton), {}},
        {m_panel->exitButton(), fixed(help::kExit), {}},
        {m_cUp, fixed(help::kUp), {}},
        {m_cDwn, fixed(help::kDown), {}},
        {m_helpPanel->panel(), fixed(help::kHelpPanel), {}},
    });

    // The help button: a press opens the help panel (the right button's only closes the panels),
    // a release of any button but the left shows or hides the statistics captions.
    connect(m_panel->helpButton(), &PictureButton::mousePressed, this, [this](int button) {
        HidePanels();
        if (button != engine::kRightButton)
            m_helpPanel->open();
    });
    connect(m_panel->helpButton(), &PictureButton::mouseReleased, this, [this](int button) {
        if (button != engine::kLeftButton)
            ToggleStats();
    });
}

void frmSet::wireMoveAreas()
{
    // The areas that move the window: a press there that the pointer then carries a few pixels
    // with any button but the right alone. A press by itself moves nothing, so the window manager
    // never takes the presses of a double-click.
    std::vector<QWidget*> areas {this, m_panel->frame(), m_strip->topEdge(), m_panel->bottomEdge(),
                                 m_panel->helpBar()};
    for (QLabel* tip : m_strip->tipLabels())
        areas.push_back(tip);
    for (QWidget* area : areas) {
        connect(MouseRelay::on(area), &MouseRelay::dragged, this, [this](int held) {
            if (held != engine::kRightButton)
                DragWindow();
        });
    }
}

bool frmSet::Form_Load()
{
    if (!m_session.start())
        return false;
    setFixedHeight(m_scale.px(6975));
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
    m_view->startRecoveryCopy(m_session);
    VoiceControl::of(m_session).applyPreferences(m_session.preferences().voice);
    return true;
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
    m_timing = new TimingAids(this, m_session, *m_pane, *m_view, std::move(places));
}

void frmSet::LoadSettings()
{
    // The options are read by now: markers are found in the script as it is restored.
    m_timing->apply(m_session.preferences());
    const session::RestoredState& restored = m_session.restored();
    m_pane->restore(restored);
    const QString backup = m_session.backupPath();
    m_lBkPath->setText(backup);
    if (restored.applied == 8 && !backup.isEmpty())
        m_panel->showBackupTitle(backup);
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
    m_session.services().startWindowMove(this);
}

void frmSet::cFull_Click()
{
    m_session.openFullScreen();
}

void frmSet::addMenuEntries(QMenu& menu)
{
    // The Preferences, which the mouse reaches nowhere else.
    menu.addSeparator();
    QAction* options = menu.addAction(QStringLiteral("Preferences...\tAlt+O"));
    options->setObjectName(QStringLiteral("mPreferences"));
    options->setEnabled(!m_pane->playing());
    // Once the menu has closed.
    connect(options, &QAction::triggered, this, &frmSet::editPreferences, Qt::QueuedConnection);
}

void frmSet::editPreferences()
{
    // A dialog over a moving script would stop nothing and hide the text being read.
    if (m_pane->playing())
        return;
    const session::Preferences before = m_session.rereadPreferences();
    PreferencesDialog dialog(before, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const session::Preferences chosen = dialog.chosen();
    // Unchanged options leave the file as it was, or absent.
    if (chosen != before)
        m_session.changePreferences(chosen);
}

bool frmSet::SaveSettings()
{
    return m_session.saveToEnd(m_view->fontSize(), this);
}

bool frmSet::saveOnClose()
{
    if (m_saved || m_session.ending())
        return true;
    m_saved = SaveSettings();
    return m_saved;
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
    m_session.closeFullScreen();
}

}  // namespace velloran::ui
