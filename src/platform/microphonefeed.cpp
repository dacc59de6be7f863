#include "platform/microphonefeed.h"

#include <QAudioDevice>
#include <QAudioSource>
#include <QMediaDevices>
#include <algorithm>
#include <cmath>
#include <vector>

#include "session/wavaudio.h"

namespace velloran::platform {

MicrophoneFeed::MicrophoneFeed(QString deviceName, QObject* parent)
    : AudioFeed(parent), m_deviceName(std::move(deviceName))
{
}

MicrophoneFeed::~MicrophoneFeed()
{
    stop();
}

bool MicrophoneFeed::start(QString* message)
{
    QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (!m_deviceName.isEmpty()) {
        device = {};
        for (const QAudioDevice& input : QMediaDevices::audioInputs()) {
            if (input.description() == m_deviceName || QString::fromUtf8(input.id()) == m_deviceName)
                device = input;
        }
    }
    if (device.isNull()) {
        *message = m_deviceName.isEmpty()
                       ? QStringLiteral("No microphone was found: connect one, or choose an input device.")
                       : QStringLiteral("The microphone \"%1\" was not found: connect it, or choose another "
                                        "input device.")
                             .arg(m_deviceName);
        return false;
    }
    QAudioFormat wanted;
    wanted.setSampleRate(session::kSpeechRate);
    wanted.setChannelCount(1);
    wanted.setSampleFormat(QAudioFormat::Int16);
    m_format = device.isFormatSupported(wanted) ? wanted : device.preferredFormat();
    m_source = std::make_unique<QAudioSource>(device, m_format);
    m_io = m_source->start();
    if (!m_io || m_source->error() != QAudio::NoError) {
        *message = QStringLiteral("The microphone \"%1\" could not be opened.").arg(device.description());
        m_source.reset();
        m_io = nullptr;
        return false;
    }
    connect(m_io, &QIODevice::readyRead, this, &MicrophoneFeed::readAvailable);
    // The source is let go after its signal has returned, never inside it.
    connect(
        m_source.get(), &QAudioSource::stateChanged, this,
        [this, device](QAudio::State state) {
            if (state == QAudio::StoppedState && m_source && m_source->error() != QAudio::NoError) {
                stop();
                emit failed(
                    QStringLiteral("The microphone \"%1\" stopped working.").arg(device.description()));
            }
        },
        Qt::QueuedConnection);
    return true;
}

void MicrophoneFeed::stop()
{
    if (m_source) {
        m_source->disconnect(this);
        m_source->stop();
    }
    m_source.reset();
    m_io = nullptr;
    m_partial.clear();
}

void MicrophoneFeed::readAvailable()
{
    if (!m_io)
        return;
    m_partial += m_io->readAll();
    const int frameBytes = m_format.bytesPerFrame();
    if (frameBytes <= 0)
        return;
    const qsizetype frames = m_partial.size() / frameBytes;
    if (frames == 0)
        return;
    const int channels = m_format.channelCount();
    std::vector<std::int16_t> interleaved(std::size_t(frames) * std::size_t(channels));
    for (std::size_t i = 0; i < interleaved.size(); ++i) {
        // normalizedSampleValue gives -1..1 for every sample format.
        const char* sample = m_partial.constData() + i * std::size_t(m_format.bytesPerSample());
        const float value = std::clamp(m_format.normalizedSampleValue(sample), -1.0f, 1.0f);
        interleaved[i] = std::int16_t(std::lround(value * 32767));
    }
    m_partial.remove(0, frames * frameBytes);
    // Converted a piece at a time: at most one sample of a piece's end is lost to the rate change.
    std::vector<std::int16_t> speech = channels == 1 && m_format.sampleRate() == session::kSpeechRate
                                           ? std::move(interleaved)
                                           : session::toSpeechAudio(interleaved.data(), std::size_t(frames),
                                                                    channels, m_format.sampleRate());
    emit samples(QByteArray(reinterpret_cast<const char*>(speech.data()), qsizetype(speech.size() * 2)));
}

}  // namespace velloran::platform
