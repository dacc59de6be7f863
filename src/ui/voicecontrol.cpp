#include "ui/voicecontrol.h"

#include <QTextEdit>
#include <QTimer>
#include <cmath>
#include <cstdio>

#include "engine/readingframe.h"
#include "ui/notice.h"
#include "ui/scriptsurface.h"
#include "ui/scripttext.h"
#include "ui/voiceindicator.h"

namespace velloran::ui {

namespace {

using platform::VoiceState;

constexpr int kSettleMs = 400;          // typing pauses this long before an edit is sent
constexpr qint64 kStillMs = 1200;       // no progress for this long: the reader is still
const QColor kMark(255, 255, 255, 40);  // the word last heard, faintly

}  // namespace

VoiceControl::VoiceControl(QObject* parent) : QObject(parent), m_scriptSettles(new QTimer(this))
{
    m_scriptSettles->setSingleShot(true);
    m_scriptSettles->setInterval(kSettleMs);
    connect(m_scriptSettles, &QTimer::timeout, this, &VoiceControl::sendScript);
}

VoiceControl::~VoiceControl()
{
    if (m_pane)
        m_pane->setFollower(nullptr);
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

void VoiceControl::attach(ReadingPane* pane, VoiceIndicator* indicator)
{
    if (m_pane) {
        m_pane->setFollower(nullptr);
        m_pane->tex()->setExtraSelections({});
        disconnect(m_pane->tex(), nullptr, this, nullptr);
    }
    m_pane = pane;
    m_indicator = indicator;
    m_pane->setFollower(this);
    connect(m_pane->tex(), &QPlainTextEdit::textChanged, m_scriptSettles, qOverload<>(&QTimer::start));
    if (m_indicator)
        m_indicator->setState(m_follower ? m_follower->state() : VoiceState::Off);
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
    if (on == m_on || !m_pane)
        return;
    m_on = on;
    m_motion = {};
    if (!on) {
        m_follower->stop();
        m_pane->tex()->setExtraSelections({});
        return;
    }
    if (!m_follower) {
        m_follower = std::make_unique<platform::VoiceFollower>();
        connect(m_follower.get(), &platform::VoiceFollower::placeChanged, this, &VoiceControl::placeHeard);
        connect(m_follower.get(), &platform::VoiceFollower::stateChanged, this, &VoiceControl::stateChanged);
        connect(m_follower.get(), &platform::VoiceFollower::inputEnded, this,
                [] { std::fputs("velloran: the voice input has been heard to its end\n", stderr); });
    }
    sendScript();
    holdAtReadingHeight();
    m_follower->start(m_setup);
}

void VoiceControl::toggle()
{
    setFollowing(!m_on);
    emit toggled(m_on);
}

void VoiceControl::stateChanged(VoiceState state, const QString& message)
{
    if (m_indicator)
        m_indicator->setState(state);
    if (!message.isEmpty() && m_pane)
        m_pane->notice()->tell(message);
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
    if (m_follower && m_pane)
        m_follower->setScript(m_pane->tex()->document()->toPlainText());
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
    if (!m_on || !m_pane || !m_follower)
        return;
    if (m_scriptSettles->isActive())
        sendScript();
    const ScriptSurface* surface = m_pane->surface();
    const engine::ReadingFrame frame =
        engine::readingFrame(surface->bandTop(), surface->bandBottom(), surface->texTop());
    const double depth = frame.depthAt(m_pane->scroller().position());
    m_heldOffset = m_pane->tex()->positionAt(depth / perPixel());
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

double VoiceControl::perPixel() const
{
    return m_pane->scale().perPixel();
}

double VoiceControl::targetFor(const platform::VoicePlace& place, double* lineHeight,
                               double* twipsPerWord) const
{
    // The end of the word last spoken, at the reading height: the line slides up through it as
    // the reader goes along, and a line read to its end has risen above it.
    ScriptText* tex = m_pane->tex();
    const ScriptText::CharacterPlace at = tex->placeOf(place.textOffset + place.textLength);
    *lineHeight = at.lineHeight * perPixel();
    *twipsPerWord = *lineHeight / at.lineWords;
    const ScriptSurface* surface = m_pane->surface();
    const engine::ReadingFrame frame =
        engine::readingFrame(surface->bandTop(), surface->bandBottom(), surface->texTop());
    return frame.positionFor((at.lineTop + at.along * at.lineHeight) * perPixel());
}

std::optional<double> VoiceControl::tickStep()
{
    if (!m_on || !m_pane || !m_follower || !m_follower->isRunning())
        return std::nullopt;
    engine::FollowTick tick;
    tick.position = m_pane->scroller().position();
    tick.intervalMs = m_pane->tScroll()->interval();
    tick.target = tick.position;
    tick.lineHeight = m_pane->tex()->fontMetrics().lineSpacing() * perPixel();
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
    if (!m_pane)
        return;
    QList<QTextEdit::ExtraSelection> marks;
    if (m_markWord && m_on && m_placeKnown && !m_holding) {
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(m_pane->tex()->document());
        mark.cursor.setPosition(m_place.textOffset);
        mark.cursor.setPosition(m_place.textOffset + m_place.textLength, QTextCursor::KeepAnchor);
        mark.format.setBackground(kMark);
        marks.append(mark);
    }
    m_pane->tex()->setExtraSelections(marks);
}

}  // namespace velloran::ui
