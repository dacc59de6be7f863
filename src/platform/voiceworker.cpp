#include "platform/voiceworker.h"

#include "platform/audiofeed.h"
#include "platform/microphonefeed.h"
#include "platform/pocketsphinxrecognizer.h"
#include "platform/wavfilefeed.h"

namespace velloran::platform {

namespace {

VoiceState shown(engine::FollowState state)
{
    switch (state) {
    case engine::FollowState::Following: return VoiceState::Following;
    case engine::FollowState::Lost: return VoiceState::Lost;
    case engine::FollowState::Holding: break;
    }
    return VoiceState::Listening;
}

}  // namespace

VoiceWorker::VoiceWorker(VoiceSetup setup) : m_setup(std::move(setup))
{
}

VoiceWorker::~VoiceWorker() = default;

void VoiceWorker::begin(const QString& script, int placeOffset)
{
    m_pipeline = std::make_unique<VoicePipeline>(std::make_unique<PocketSphinxRecognizer>(
        m_setup.model.isEmpty() ? defaultSpeechModel() : m_setup.model,
        m_setup.dictionary.isEmpty() ? defaultSpeechDictionary() : m_setup.dictionary));
    QString message;
    if (!m_pipeline->load(&message) || !m_pipeline->setScript(script, &message)) {
        fail(VoiceState::Unavailable, message);
        return;
    }
    if (placeOffset >= 0)
        m_pipeline->moveTo(placeOffset);
    if (m_setup.inputFile.isEmpty())
        m_feed = std::make_unique<MicrophoneFeed>(m_setup.device);
    else
        m_feed = std::make_unique<WavFileFeed>(m_setup.inputFile);
    connect(m_feed.get(), &AudioFeed::samples, this, &VoiceWorker::hear);
    connect(m_feed.get(), &AudioFeed::failed, this,
            [this](const QString& reason) { fail(VoiceState::NoMicrophone, reason); });
    connect(m_feed.get(), &AudioFeed::ended, this, [this] {
        if (m_pipeline && m_pipeline->finish())
            report();
        emit inputEnded();
    });
    if (!m_feed->start(&message)) {
        fail(VoiceState::NoMicrophone, message);
        return;
    }
    m_state = VoiceState::Listening;
    emit stateChanged(m_state, {});
    emit placeChanged(m_pipeline->place());
}

void VoiceWorker::setScript(const QString& text)
{
    QString message;
    if (m_pipeline && !m_pipeline->setScript(text, &message))
        fail(VoiceState::Unavailable, message);
    else if (m_pipeline)
        report();
}

void VoiceWorker::moveTo(int textOffset)
{
    if (!m_pipeline)
        return;
    m_pipeline->moveTo(textOffset);
    report();
}

void VoiceWorker::end()
{
    if (m_feed)
        m_feed->stop();
    m_feed.reset();
    m_pipeline.reset();
}

void VoiceWorker::hear(const QByteArray& pcm)
{
    if (m_pipeline &&
        m_pipeline->feed(reinterpret_cast<const std::int16_t*>(pcm.constData()), std::size_t(pcm.size() / 2)))
        report();
}

void VoiceWorker::fail(VoiceState state, const QString& message)
{
    end();
    m_state = state;
    emit stateChanged(state, message);
}

void VoiceWorker::report()
{
    const VoicePlace& place = m_pipeline->place();
    const VoiceState state = shown(place.state);
    if (state != m_state) {
        m_state = state;
        emit stateChanged(state, {});
    }
    emit placeChanged(place);
}

}  // namespace velloran::platform
