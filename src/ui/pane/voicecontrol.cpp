#include "ui/pane/voicecontrol.h"

#include <QTextEdit>
#include <QTimer>
#include <cmath>

#include "session/appsession.h"
#include "ui/pane/scriptview.h"
#include "ui/pane/voiceindicator.h"
#include "ui/script/scripttext.h"
#include "ui/widgets/logging.h"

namespace velloran::ui {

namespace {

using platform::VoiceState;

constexpr int kSettleMs = 400;          // typing pauses this long before an edit is sent
constexpr qint64 kStillMs = 1200;       // no progress for this long: the reader is still
const QColor kMark(255, 255, 255, 40);  // the word last heard, faintly

}  // namespace

VoiceControl& VoiceControl::of(session::AppSession& session)
{
    auto* control = session.findChild<VoiceControl*>(QString(), Qt::FindDirectChildrenOnly);
    return control ? *control : *new VoiceControl(session);
}

VoiceControl::VoiceControl(session::AppSession& session)
    : QObject(&session), m_session(session), m_scriptSettles(new QTimer(this))
{
    m_scriptSettles->setSingleShot(true);
    m_scriptSettles->setInterval(kSettleMs);
    connect(m_scriptSettles, &QTimer::timeout, this, &VoiceControl::sendScript);
    connect(&session, &session::AppSession::preferencesChanged, this,
            [this](const session::Preferences& options) { applyPreferences(options.voice); });
}

void VoiceControl::applyPreferences(const session::Preferences::Voice& voice)
{
    const bool restart = m_on && (voice.device != m_setup.device || voice.model != m_setup.model ||
                                  voice.dictionary != m_setup.dictionary);
    m_setup.device = voice.device;
    m_setup.model = voice.model;
    m_setup.dictionary = voice.dictionary;
    m_markWord = voice.markWord;
    markWord();
    if (restart)
        setFollowing(false);
    setFollowing(voice.follow);
}

void VoiceControl::setInputFile(const QString& path)
{
    m_setup.inputFile = path;
}

void VoiceControl::attach(ReadingPane& pane, ScriptView& view, VoiceIndicator* indicator)
{
    const Window window {&pane, &view, indicator};
    m_windows.append(window);
    connect(&pane, &QObject::destroyed, this, &VoiceControl::windowGone);
    use(window);
}

void VoiceControl::windowGone(QObject* pane)
{
    const bool shown = m_shown.pane == nullptr || m_shown.pane == pane;
    m_windows.removeIf([pane](const Window& window) { return !window.pane || window.pane == pane; });
    if (shown) {
        m_shown = {};
        if (!m_windows.isEmpty())
            use(m_windows.last());
    }
}

void VoiceControl::use(const Window& window)
{
    if (m_shown.pane) {
        m_shown.pane->setFollower(nullptr);
        m_shown.view->scriptText()->setExtraSelections({});
        disconnect(m_shown.view, nullptr, this, nullptr);
    }
    m_shown = window;
    m_shown.pane->setFollower(this);
    connect(m_shown.view, &ScriptView::textChanged, m_scriptSettles, qOverload<>(&QTimer::start));
    if (m_shown.indicator)
        m_shown.indicator->setState(m_follower ? m_follower->state() : VoiceState::Off);
    if (m_on) {
        // The other window holds the same script: its first tick glides to the reader's place.
        sendScript();
        m_motion = {};
        if (m_holding || !m_placeKnown)
            userMoved(true);
    }
}

void VoiceControl::setFollowing(bool on)
{
    if (on == m_on || !m_shown.pane)
        return;
    m_on = on;
    m_motion = {};
    if (!on) {
        m_follower->stop();
        markWord();
        return;
    }
    if (!m_follower) {
        m_follower = std::make_unique<platform::VoiceFollower>();
        connect(m_follower.get(), &platform::VoiceFollower::placeChanged, this, &VoiceControl::placeHeard);
        connect(m_follower.get(), &platform::VoiceFollower::stateChanged, this, &VoiceControl::stateChanged);
        connect(m_follower.get(), &platform::VoiceFollower::inputEnded, this,
                [] { qCInfo(lcUi) << "the voice input has been heard to its end"; });
    }
    sendScript();
    holdAtReadingHeight();
    m_follower->start(m_setup);
}

void VoiceControl::toggle()
{
    setFollowing(!m_on);
    session::Preferences options = m_session.preferences();
    if (options.voice.follow != m_on) {
        options.voice.follow = m_on;
        m_session.changePreferences(options);
    }
}

void VoiceControl::stateChanged(VoiceState state, const QString& message)
{
    if (m_shown.indicator)
        m_shown.indicator->setState(state);
    if (!message.isEmpty() && m_shown.view)
        m_shown.view->tell(message);
    // Following could not start, or its microphone failed: it stays off, all else as it was.
    if (state == VoiceState::NoMicrophone || state == VoiceState::Unavailable) {
        m_on = false;
        m_motion = {};
    }
}

void VoiceControl::sendScript()
{
    m_scriptSettles->stop();
    // The document's own characters, one for one, so that the places heard are its positions.
    if (m_follower && m_shown.view)
        m_follower->setScript(m_shown.view->scriptText()->document()->toPlainText());
}

void VoiceControl::userMoved(bool placeMoved)
{
    m_motion = {};
    if (!m_on || !placeMoved)
        return;
    // The place the user chose is where the reader goes on from; it is read once the move is
    // done, and nothing moves until the reader speaks from there.
    m_holding = true;
    QMetaObject::invokeMethod(this, &VoiceControl::holdAtReadingHeight, Qt::QueuedConnection);
}

void VoiceControl::holdAtReadingHeight()
{
    if (!m_on || !m_shown.view || !m_follower)
        return;
    if (m_scriptSettles->isActive())
        sendScript();
    ScriptView& view = *m_shown.view;
    const double depth = view.readingFrame().depthAt(view.scroller().position());
    m_heldOffset = view.scriptText()->positionAt(depth / view.perPixel());
    m_holding = true;
    m_follower->moveTo(m_heldOffset);
}

void VoiceControl::placeHeard(const platform::VoicePlace& place)
{
    if (m_holding) {
        if (place.state != engine::FollowState::Following || place.textOffset < m_heldOffset)
            return;
        m_holding = false;
    }
    if (!m_placeKnown || place.word != m_place.word)
        m_sinceProgress.restart();
    m_place = place;
    m_placeKnown = true;
    markWord();
}

double VoiceControl::targetFor(const platform::VoicePlace& place, double* lineHeight,
                               double* twipsPerWord) const
{
    // The end of the word last spoken, at the reading height: the line slides up through it as
    // the reader goes along, and a line read to its end has risen above it.
    const ScriptView& view = *m_shown.view;
    const TextPlace at = view.scriptText()->placeOf(place.textOffset + place.textLength);
    *lineHeight = at.lineHeight * view.perPixel();
    *twipsPerWord = *lineHeight / at.lineWords;
    return view.readingFrame().positionFor((at.lineTop + at.along * at.lineHeight) * view.perPixel());
}

std::optional<double> VoiceControl::tickStep(double intervalMs)
{
    if (!m_on || !m_shown.view || !m_follower || !m_follower->isRunning())
        return std::nullopt;
    engine::FollowTick tick;
    tick.position = m_shown.view->scroller().position();
    tick.intervalMs = intervalMs;
    tick.target = tick.position;
    tick.lineHeight = m_shown.view->lineHeight();
    if (!m_holding && m_placeKnown) {
        double twipsPerWord = 0;
        tick.target = targetFor(m_place, &tick.lineHeight, &twipsPerWord);
        const bool speaking = m_place.state == engine::FollowState::Following && m_sinceProgress.isValid() &&
                              m_sinceProgress.elapsed() < kStillMs;
        tick.readerPace = speaking ? m_place.wordsPerSecond * twipsPerWord : 0;
    }
    // Whole twips, so that the readout and the saved position stay plain numbers.
    return std::round(engine::followStepForward(tick, m_motion));
}

void VoiceControl::markWord()
{
    if (!m_shown.view)
        return;
    ScriptText* text = m_shown.view->scriptText();
    QList<QTextEdit::ExtraSelection> marks;
    if (m_markWord && m_on && m_placeKnown && !m_holding) {
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(text->document());
        mark.cursor.setPosition(m_place.textOffset);
        mark.cursor.setPosition(m_place.textOffset + m_place.textLength, QTextCursor::KeepAnchor);
        mark.format.setBackground(kMark);
        marks.append(mark);
    }
    text->setExtraSelections(marks);
}

}  // namespace velloran::ui
