// The full-screen window's rig options: the screen it covers, the mirrored or upside-down
// picture for a beam-splitter glass, the reading cue, a presentation remote's keys, and the
// Control Panel and the cue as windows of their own above the moving script.
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "ui/controls.h"
#include "ui/frmfull.h"
#include "ui/fullscreenhost.h"
#include "ui/navigationbar.h"
#include "ui/notice.h"
#include "ui/overlaywindow.h"
#include "ui/readingcue.h"
#include "ui/readingpane.h"
#include "ui/reflector.h"
#include "ui/screenchoice.h"
#include "ui/scriptsurface.h"
#include "ui/scripttext.h"
#include "ui/timingaids.h"

namespace velloran::ui {

namespace {

constexpr double kCueWidth = 180;  // twips; fits the gap left of the script while scrolling
constexpr double kCueHeight = 240;

}  // namespace

void frmFull::buildRig()
{
    m_reflector = new Reflector(this);
    ScriptSurface* surface = m_pane->surface();
    m_reflector->watch(surface);
    m_reflector->watch(tex()->viewport());
    m_reflector->watch(m_pane->tip());
    surface->setReflector(m_reflector);

    m_cue = new ReadingCue(this);
    m_cue->resize(m_scale.px(kCueWidth), m_scale.px(kCueHeight));
    makeOverlayWindow(m_cue, false);
    m_reflector->watch(m_cue);

    QPushButton* mirror = makeAccelerator(m_fHide, QStringLiteral("cMirror"), QStringLiteral("&m"));
    m_scale.place(mirror, 1680, 0, 255, 255);
    connect(mirror, &QAbstractButton::clicked, this, &frmFull::toggleMirror);
    QPushButton* cue = makeAccelerator(m_fHide, QStringLiteral("cCue"), QStringLiteral("&k"));
    m_scale.place(cue, 2040, 0, 255, 255);
    connect(cue, &QAbstractButton::clicked, this, &frmFull::toggleCue);

    m_escapeWait = new QTimer(this);
    m_escapeWait->setObjectName(QStringLiteral("tEscape"));
    m_escapeWait->setSingleShot(true);
    m_escapeWait->setInterval(3000);
    connect(m_escapeWait, &QTimer::timeout, m_pane->notice(), &QWidget::hide);
}

QScreen* frmFull::chosenScreen() const
{
    using Choice = session::Preferences::ScreenChoice;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (m_preferences.screen == Choice::MainWindow && m_host.hostScreen()) {
        screen = m_host.hostScreen();
    } else if (m_preferences.screen == Choice::Named) {
        const qsizetype named = screenByKey(connectedScreens(), m_preferences.screenName);
        if (named >= 0)
            screen = QGuiApplication::screens().at(named);
        else
            std::fprintf(stderr, "velloran: no screen is named \"%s\"; the primary screen is used\n",
                         qPrintable(m_preferences.screenName));
    }
    return screen;
}

bool frmFull::remoteKey(const QKeyEvent& event)
{
    if (!m_preferences.remote)
        return false;
    const int key = event.key();
    // Escape whatever the modifiers, as without the remote; the other keys only plain.
    const bool plain = !(event.modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier));
    const bool remote =
        key == Qt::Key_Escape || (plain && (key == Qt::Key_PageDown || key == Qt::Key_PageUp ||
                                            key == Qt::Key_B || key == Qt::Key_Period || key == Qt::Key_F5));
    if (!remote)
        return false;
    const auto time = static_cast<std::uint64_t>(event.timestamp());
    if (event.type() == QEvent::KeyRelease) {
        m_heldKeys.release(key, event.isAutoRepeat(), time);
        return false;
    }
    // A held key counts once, or a held forward key would flicker between play and pause.
    const bool fresh = m_heldKeys.press(key, event.isAutoRepeat(), time);
    switch (key) {
    case Qt::Key_PageDown:
        if (fresh)
            m_pane->TogglePlay();
        return true;
    case Qt::Key_PageUp:
        if (fresh)
            m_pane->backOneLine();
        return true;
    case Qt::Key_Escape: return !fresh || !escapeEnds();
    // The remote's "blank screen" and "start show" keys: taken, so they type nothing either.
    default: return true;
    }
}

bool frmFull::escapeEnds()
{
    // A clicker's "start/stop show" button sends F5 and Escape in turn: one press of it must not
    // end the program unsaved.
    if (m_escapeWait->isActive()) {
        m_escapeWait->stop();
        return true;
    }
    m_escapeWait->start();
    m_pane->notice()->tell(
        QStringLiteral("Press Escape again within three seconds to end Velloran without saving."));
    return false;
}

void frmFull::applyPreferences(const session::Preferences& preferences)
{
    m_preferences = preferences;
    m_timing->apply(preferences);
    placeReflected();
    syncOverlays();
}

void frmFull::toggleMirror()
{
    m_preferences.mirror = !m_preferences.mirror;
    m_host.changePreferences(m_preferences);
    applyPreferences(m_preferences);
}

void frmFull::toggleCue()
{
    m_preferences.cue = !m_preferences.cue;
    m_host.changePreferences(m_preferences);
    applyPreferences(m_preferences);
}

void frmFull::placeReflected()
{
    m_reflector->set(m_preferences.mirror, m_preferences.flip);
    m_pane->surface()->refresh();
    if (!m_tipPlain.isNull())
        m_pane->tip()->setGeometry(m_reflector->place(m_tipPlain, size()));
}

void frmFull::syncOverlays()
{
    if (!m_cue)
        return;
    // Left mapped while the window is minimised: they go and come back with it. Both lie inside
    // this window (Form_Load), so they are placed in its coordinates.
    const bool seen = isVisible();
    m_fCtrl->move(m_panelAt);
    // A third of the screen from the top, at the left edge of what the reader sees.
    const QRect cue(QPoint(0, height() / 3 - m_cue->height() / 2), m_cue->size());
    m_cue->move(m_reflector->place(cue, size()).topLeft());
    m_fCtrl->setVisible(seen && m_panelShown);
    m_cue->setVisible(seen && m_preferences.cue);
}

void frmFull::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    syncOverlays();
}

void frmFull::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    syncOverlays();
}

void frmFull::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    syncOverlays();
}

void frmFull::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_reflector)
        placeReflected();
    syncOverlays();
}

}  // namespace velloran::ui
