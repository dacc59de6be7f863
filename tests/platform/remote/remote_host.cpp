// The remote control service over a pretend reading, no windows: to look at the phone page in a
// browser and to drive the protocol by hand. Prints the page's address and runs until killed.
//   remote_host [port] [token]
#include "platform/remote/remoteservice.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

using namespace velloran::platform::remote;
using namespace Qt::StringLiterals;

namespace {

// A script of numbered lines that moves while playing, as the program's tick would move it.
class PretendReading final : public RemoteTarget {
public:
    static constexpr int kLines = 400;
    static constexpr double kLineTwips = 300;

    explicit PretendReading(RemoteService& service) : m_service(service)
    {
        m_state.speed = 100;
        m_state.frequency = 10;
        m_state.font = 24;
        connect();
        publish();
    }

    void perform(const Command& command, RemoteDone done) override
    {
        State& s = m_state;
        switch (command.verb) {
        case Verb::Play: setPlaying(true); break;
        case Verb::Pause: setPlaying(false); break;
        case Verb::Toggle: setPlaying(!s.playing); break;
        case Verb::Nudge: s.position -= 200 * command.step; break;
        case Verb::Speed: s.speed = qBound(10, s.speed + 10 * command.step, 2000); break;
        case Verb::Frequency: s.frequency = qBound(2, s.frequency + 2 * command.step, 1000); break;
        case Verb::Font: s.font = qBound(8, s.font + 2 * command.step, 200); break;
        case Verb::Home:
            s.position = 0;
            s.runSeconds = 0;
            break;
        case Verb::Goto: s.position = -command.fraction * kLines * kLineTwips; break;
        case Verb::Marker: done(RemoteOutcome::refused(u"no markers"_s)); return;
        case Verb::FullScreen: s.window = command.on ? WindowShown::Full : WindowShown::Main; break;
        case Verb::Panel: s.panel = command.on; break;
        case Verb::Mirror: s.mirror = command.on; break;
        case Verb::Cue: s.cue = command.on; break;
        }
        s.position = qBound(-kLines * kLineTwips, s.position, 0.0);
        m_tick.setInterval(s.speed);
        publish();
        done(RemoteOutcome::done());
    }

private:
    void connect()
    {
        QObject::connect(&m_tick, &QTimer::timeout, [this] {
            m_state.position = qMax(m_state.position - m_state.frequency, -kLines * kLineTwips);
            publish();
        });
        QObject::connect(&m_clock, &QTimer::timeout, [this] {
            ++m_state.runSeconds;
            publish();
        });
        m_tick.setInterval(m_state.speed);
        m_clock.setInterval(1000);
    }
    void setPlaying(bool playing)
    {
        m_state.playing = playing;
        if (playing) {
            m_tick.start();
            m_clock.start();
        } else {
            m_tick.stop();
            m_clock.stop();
        }
    }
    void publish()
    {
        const int line = int(-m_state.position / kLineTwips) + 1;
        m_state.line = line;
        m_state.fraction = -m_state.position / (kLines * kLineTwips);
        m_state.reading = u"Line %1 of the pretend script, read aloud at an even pace."_s.arg(line);
        m_service.setState(m_state);
    }

    RemoteService& m_service;
    State m_state;
    QTimer m_tick;
    QTimer m_clock;
};

// The target is made after the service it tells, so the service holds it by a forwarding object.
class Forward final : public RemoteTarget {
public:
    void perform(const Command& command, RemoteDone done) override { to->perform(command, std::move(done)); }
    RemoteTarget* to = nullptr;
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    RemoteConfig config;
    config.port = args.size() > 1 ? quint16(args[1].toUInt()) : 0;
    config.token = args.size() > 2 ? args[2] : makeToken();
    Forward forward;
    RemoteService service(forward);
    PretendReading reading(service);
    forward.to = &reading;
    if (!service.start(config))
        return 1;
    std::printf("%s\n", qPrintable(service.pageUrl().toString()));
    std::fflush(stdout);
    return app.exec();
}
