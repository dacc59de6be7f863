#pragma once

#include "platform/remote/remoteguard.h"
#include "platform/remote/remoteprotocol.h"

#include <QHostAddress>
#include <QObject>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>
#include <vector>

class QHttpServerRequest;
class QTcpSocket;
class QWebSocket;

namespace velloran::platform::remote {

// How a command ended, once it has taken effect or could not.
struct RemoteOutcome {
    bool ok = true;
    QString error;  // a short reason for the client when not ok ("no markers")

    static RemoteOutcome done() { return {}; }
    static RemoteOutcome refused(QString why) { return {false, std::move(why)}; }
};

using RemoteDone = std::function<void(const RemoteOutcome&)>;

// What the application offers the remote control: the reading on the window on screen.
class RemoteTarget {
public:
    virtual ~RemoteTarget() = default;
    // Carries the command out, then calls done exactly once, within the call or later (once a
    // window has opened, say). The client's next message waits for it.
    virtual void perform(const Command& command, RemoteDone done) = 0;
};

// Milliseconds from any fixed start; a seam so tests need not wait a minute for a ban to end.
class RemoteClock {
public:
    virtual ~RemoteClock() = default;
    virtual qint64 nowMs() const = 0;
};

struct RemoteConfig {
    QHostAddress address = QHostAddress(QHostAddress::LocalHost);
    quint16 port = 47631;  // 0: any free port
    QString token;         // see tokenIsUsable
};

class HttpFront;

// Serves the phone page at /?token=T and the control WebSocket at /control?token=T, and hands
// the commands it reads to the target. Nothing listens until start(); it never touches a file.
class RemoteService : public QObject {
    Q_OBJECT

public:
    static constexpr int kMaxClients = 8;
    static constexpr int kStateIntervalMs = 100;  // at most ten state events a second
    static constexpr int kMaxQueued = 64;         // a client further behind than this is closed

    explicit RemoteService(RemoteTarget& target, QObject* parent = nullptr);
    RemoteService(RemoteTarget& target, const RemoteClock& clock, QObject* parent = nullptr);
    ~RemoteService() override;

    // Listens on the address and port; false, and listening on nothing, when the token is not
    // usable or the address cannot be bound.
    bool start(const RemoteConfig& config);
    void stop();
    bool isListening() const;
    quint16 port() const;  // the bound port; 0 when not listening
    // The page to open on a phone, token included. For an address that covers every interface,
    // the first address of this machine that others on the network can reach.
    QUrl pageUrl() const;
    int clientCount() const;

public Q_SLOTS:
    // The reading as it is now; clients get it at once when they connect, and otherwise at most
    // ten times a second while it changes.
    void setState(const velloran::platform::remote::State& state);

Q_SIGNALS:
    void clientsChanged(int count);

private:
    struct Client;

    RemoteService(RemoteTarget& target, const RemoteClock* clock, QObject* parent);

    // Answers a plain request; for a WebSocket upgrade, whether Qt may go on with it.
    bool answerHttp(const QHttpServerRequest& request, QTcpSocket* socket);
    void takeWebSockets();
    void admit(std::unique_ptr<QWebSocket> socket);
    bool tokenAccepted(const QString& address, const QString& offered);
    void enqueue(quint64 id, QByteArray message, bool text);
    void pump(quint64 id);
    void finish(quint64 id, const RemoteOutcome& outcome);
    void drop(quint64 id, int closeCode);
    Client* find(quint64 id);
    void broadcastState();

    RemoteTarget& m_target;
    std::unique_ptr<RemoteClock> m_ownClock;
    const RemoteClock& m_clock;
    RemoteConfig m_config;
    std::unique_ptr<HttpFront> m_http;
    quint16 m_port = 0;
    AttemptGuard m_guard;
    std::vector<std::unique_ptr<Client>> m_clients;
    quint64 m_nextId = 1;
    QByteArray m_page;
    QByteArray m_pagePolicy;
    State m_state;
    bool m_hasState = false;
    QByteArray m_lastState;  // the last state event sent to everyone
    QTimer m_stateTimer;
    bool m_statePending = false;
};

}  // namespace velloran::platform::remote
