#include "platform/voicefollower.h"

#include <QThread>
#include <QTimer>

#include "platform/voiceworker.h"

namespace velloran::platform {

VoiceFollower::VoiceFollower(QObject* parent) : QObject(parent)
{
}

VoiceFollower::~VoiceFollower()
{
    stop();
}

void VoiceFollower::setScript(const QString& text)
{
    m_script = text;
    if (m_worker)
        QMetaObject::invokeMethod(m_worker, [worker = m_worker, text] { worker->setScript(text); });
}

void VoiceFollower::moveTo(int textOffset)
{
    m_placeOffset = textOffset;
    if (m_worker)
        QMetaObject::invokeMethod(m_worker, [worker = m_worker, textOffset] { worker->moveTo(textOffset); });
}

void VoiceFollower::start(const VoiceSetup& setup)
{
    stop();
    m_thread = std::make_unique<QThread>();
    m_thread->setObjectName(QStringLiteral("voice"));
    m_worker = new VoiceWorker(setup);
    m_worker->moveToThread(m_thread.get());
    connect(m_worker, &VoiceWorker::placeChanged, this, [this](const VoicePlace& place) {
        m_place = place;
        emit placeChanged(place);
    });
    connect(m_worker, &VoiceWorker::stateChanged, this, [this](VoiceState state, const QString& message) {
        setState(state, message);
        // Following stays off after a failure; the thread is let go once this signal is done.
        if (state == VoiceState::NoMicrophone || state == VoiceState::Unavailable)
            QTimer::singleShot(0, this, [this] { stop(); });
    });
    connect(m_worker, &VoiceWorker::inputEnded, this, &VoiceFollower::inputEnded);
    m_thread->start();
    QMetaObject::invokeMethod(m_worker, [worker = m_worker, script = m_script, offset = m_placeOffset] {
        worker->begin(script, offset);
    });
}

void VoiceFollower::stop()
{
    if (!m_worker)
        return;
    // The audio and the recogniser are let go on their own thread, then the thread ends.
    QMetaObject::invokeMethod(
        m_worker, [worker = m_worker] { worker->end(); }, Qt::BlockingQueuedConnection);
    m_worker->disconnect(this);
    m_thread->quit();
    m_thread->wait();
    delete m_worker;
    m_worker = nullptr;
    m_thread.reset();
    if (m_state != VoiceState::NoMicrophone && m_state != VoiceState::Unavailable)
        setState(VoiceState::Off, {});
}

void VoiceFollower::setState(VoiceState state, const QString& message)
{
    if (state == m_state && message == m_message)
        return;
    m_state = state;
    m_message = message;
    emit stateChanged(state, message);
}

}  // namespace velloran::platform
