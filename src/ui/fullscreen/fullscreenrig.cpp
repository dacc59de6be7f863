#include "ui/fullscreen/fullscreenrig.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "session/appsession.h"
#include "ui/fullscreen/overlaywindow.h"
#include "ui/fullscreen/readingcue.h"
#include "ui/pane/readingpane.h"
#include "ui/pane/screenchoice.h"
#include "ui/pane/scriptview.h"
#include "ui/pane/voicecontrol.h"
#include "ui/pane/voiceindicator.h"
#include "ui/script/reflector.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/logging.h"

namespace velloran::ui {

namespace {

constexpr double kCueWidth = 180;  // twips; fits the gap left of the script while scrolling
constexpr double kCueHeight = 240;
constexpr double kVoiceMarkWidth = 1800;  // the voice indicator, in the top corner left of the script
constexpr double kVoiceMarkHeight = 300;

}  // namespace

FullScreenRig::FullScreenRig(QWidget* window, session::AppSession& session, ReadingPane& pane,
                             ScriptView& view, const TwipScale& scale)
    : QObject(window), m_window(window), m_session(session), m_pane(pane), m_view(view), m_scale(scale),
      m_reflector(new Reflector(this)), m_cue(new ReadingCue(window)),
      m_voiceMark(new VoiceIndicator(window, true)), m_escapeWait(new QTimer(this))
{
    view.reflectWith(*m_reflector);
    m_cue->resize(m_scale.px(kCueWidth), m_scale.px(kCueHeight));
    makeOverlayWindow(m_cue, false);
    m_reflector->watch(m_cue);
    m_voiceMark->resize(m_scale.px(kVoiceMarkWidth), m_scale.px(kVoiceMarkHeight));
    makeOverlayWindow(m_voiceMark, false);
    m_reflector->watch(m_voiceMark);
    connect(m_voiceMark, &VoiceIndicator::wantedChanged, this, [this] { placeCue(m_window->isVisible()); });

    m_escapeWait->setObjectName(QStringLiteral("tEscape"));
    m_escapeWait->setSingleShot(true);
    m_escapeWait->setInterval(3000);
    connect(m_escapeWait, &QTimer::timeout, &view, &ScriptView::hideNotice);
}

void FullScreenRig::buildKeys(QWidget* hiddenFrame)
{
    QPushButton* mirror = makeAccelerator(hiddenFrame, QStringLiteral("cMirror"), QStringLiteral("&m"));
    m_scale.place(mirror, 1680, 0, 255, 255);
    connect(mirror, &QAbstractButton::clicked, this, &FullScreenRig::toggleMirror);
    QPushButton* cue = makeAccelerator(hiddenFrame, QStringLiteral("cCue"), QStringLiteral("&k"));
    m_scale.place(cue, 2040, 0, 255, 255);
    connect(cue, &QAbstractButton::clicked, this, &FullScreenRig::toggleCue);
    QPushButton* voice = makeAccelerator(hiddenFrame, QStringLiteral("cVoice"), QStringLiteral("&v"));
    m_scale.place(voice, 2400, 0, 255, 255);
    connect(voice, &QAbstractButton::clicked, this, [this] { VoiceControl::of(m_session).toggle(); });
}

QScreen* FullScreenRig::chosenScreen() const
{
    using Choice = session::Preferences::ScreenChoice;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (m_preferences.screen == Choice::MainWindow && m_session.mainWindowScreen()) {
        screen = m_session.mainWindowScreen();
    } else if (m_preferences.screen == Choice::Named) {
        const qsizetype named = screenByKey(connectedScreens(), m_preferences.screenName);
        if (named >= 0)
            screen = QGuiApplication::screens().at(named);
        else
            qCWarning(lcUi).noquote() << "no screen is named" << m_preferences.screenName
                                      << "- the primary screen is used";
    }
    return screen;
}

void FullScreenRig::beforeToggle(bool playing)
{
    m_reflector->setEchoes(playing);
    // No blinking text cursor on the glass while the script moves; typing still goes in.
    m_view.setCaretShown(playing);
}

bool FullScreenRig::remoteKey(const QKeyEvent& event)
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
            m_pane.TogglePlay();
        return true;
    case Qt::Key_PageUp:
        if (fresh)
            m_pane.backOneLine();
        return true;
    case Qt::Key_Escape: return !fresh || !escapeEnds();
    // The remote's "blank screen" and "start show" keys: taken, so they type nothing either.
    default: return true;
    }
}

bool FullScreenRig::escapeEnds()
{
    // A clicker's "start/stop show" button sends F5 and Escape in turn: one press of it must not
    // end the program unsaved.
    if (m_escapeWait->isActive()) {
        m_escapeWait->stop();
        return true;
    }
    m_escapeWait->start();
    m_view.tell(QStringLiteral("Press Escape again within three seconds to end Velloran without saving."));
    return false;
}

void FullScreenRig::applyPreferences(const session::Preferences& preferences)
{
    m_preferences = preferences;
    placeReflected();
}

void FullScreenRig::toggleMirror()
{
    session::Preferences changed = m_preferences;
    changed.mirror = !changed.mirror;
    m_session.changePreferences(changed);
}

void FullScreenRig::toggleCue()
{
    session::Preferences changed = m_preferences;
    changed.cue = !changed.cue;
    m_session.changePreferences(changed);
}

void FullScreenRig::placeReflected()
{
    m_reflector->set(m_preferences.mirror, m_preferences.flip);
    m_view.refresh();
    if (!m_tipPlain.isNull())
        m_view.setBarGeometry(m_reflector->place(m_tipPlain, m_window->size()));
}

QRect FullScreenRig::reflected(const QRect& plain, const QSize& area) const
{
    return m_reflector->place(plain, area);
}

void FullScreenRig::placeCue(bool windowSeen)
{
    // A third of the screen from the top, at the left edge of what the reader sees.
    const QSize area = m_window->size();
    const QRect cue(QPoint(0, area.height() / 3 - m_cue->height() / 2), m_cue->size());
    m_cue->move(m_reflector->place(cue, area).topLeft());
    m_cue->setVisible(windowSeen && m_preferences.cue);
    const QRect mark(QPoint(m_scale.px(120), m_scale.px(120)), m_voiceMark->size());
    m_voiceMark->move(m_reflector->place(mark, area).topLeft());
    m_voiceMark->setVisible(windowSeen && m_voiceMark->wanted());
}

}  // namespace velloran::ui
