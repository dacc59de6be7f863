#include "platform/remote/remoteservice.h"

#include <QAbstractHttpServer>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QLoggingCategory>
#include <QNetworkInterface>
#include <QPointer>
#include <QTcpServer>
#include <QUrlQuery>
#include <QWebSocket>

#include <deque>

using namespace Qt::StringLiterals;

Q_LOGGING_CATEGORY(lcRemote, "velloran.remote")

namespace velloran::platform::remote {

namespace {

// A WebSocket message this much over the limit closes the connection instead of being read.
constexpr qint64 kMaxWebSocketMessage = 4 * kMaxMessageBytes;
constexpr auto kClosePolicy = QWebSocketProtocol::CloseCodePolicyViolated;
// "Try again later": the service is full.
constexpr auto kCloseFull = QWebSocketProtocol::CloseCode(1013);

class SteadyClock final : public RemoteClock {
public:
    SteadyClock() { m_timer.start(); }
    qint64 nowMs() const override { return m_timer.elapsed(); }

private:
    QElapsedTimer m_timer;
};

QByteArray readResource(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("velloran: resource %s missing from the build", qPrintable(path));
    return file.readAll();
}

// The hash of the one inline block between the tags, as the page's content policy names it.
QByteArray inlineHash(const QByteArray& page, QByteArrayView open, QByteArrayView close)
{
    const qsizetype start = page.indexOf(open);
    const qsizetype end = page.indexOf(close, start);
    if (start < 0 || end < 0)
        return "'none'";
    const QByteArray block = page.mid(start + open.size(), end - start - open.size());
    return "'sha256-" + QCryptographicHash::hash(block, QCryptographicHash::Sha256).toBase64() + '\'';
}

QString tokenOf(const QUrl& url)
{
    return QUrlQuery(url).queryItemValue(u"token"_s, QUrl::FullyDecoded);
}

// A browser names the page's origin; it must be this server as the browser reached it. Clients
// other than browsers send none, and the token alone decides for them.
bool originAllowed(const QHttpServerRequest& request)
{
    const QByteArray origin = request.value("origin");
    if (origin.isEmpty())
        return true;
    const QByteArray host = request.value("host");
    return !host.isEmpty() && origin.compare(QByteArray("http://" + host), Qt::CaseInsensitive) == 0;
}

// Closes with the code alone and lets the socket go once closed, or after a short wait for a
// client that never answers the close.
void closeAndDiscard(QWebSocket* socket, QObject* keeper, QWebSocketProtocol::CloseCode code)
{
    socket->setParent(keeper);
    if (socket->state() != QAbstractSocket::ConnectedState) {
        socket->deleteLater();
        return;
    }
    QObject::connect(socket, &QWebSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(2000, socket, [socket] {
        socket->abort();
        socket->deleteLater();
    });
    socket->close(code);
}

bool coversEveryInterface(const QHostAddress& address)
{
    return address == QHostAddress::Any || address == QHostAddress::AnyIPv4 ||
           address == QHostAddress::AnyIPv6;
}

}  // namespace

// Qt's HTTP server with every request handed to the service. A request to upgrade to a WebSocket
// that the service accepts (returns true for) is upgraded by Qt and arrives through
// newWebSocketConnection; one it refuses has had its answer and is closed by Qt.
class HttpFront final : public QAbstractHttpServer {
    Q_OBJECT

public:
    using Handler = std::function<bool(const QHttpServerRequest&, QTcpSocket*)>;
    explicit HttpFront(Handler handler) : m_handler(std::move(handler)) { }

    static QHttpServerResponder responder(const QHttpServerRequest& request, QTcpSocket* socket)
    {
        return makeResponder(request, socket);
    }

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override
    {
        return m_handler(request, socket);
    }
    // Only a refused upgrade comes here, already answered.
    void missingHandler(const QHttpServerRequest&, QTcpSocket*) override { }

private:
    Handler m_handler;
};

struct RemoteService::Client {
    quint64 id = 0;
    std::unique_ptr<QWebSocket> socket;
    std::deque<std::pair<QByteArray, bool>> queue;  // message, and whether it came as text
    MessageThrottle throttle;
    QTimer wake;  // serves the queue again once the throttle allows
    bool busy = false;
};

RemoteService::RemoteService(RemoteTarget& target, QObject* parent) : RemoteService(target, nullptr, parent)
{
}

RemoteService::RemoteService(RemoteTarget& target, const RemoteClock& clock, QObject* parent)
    : RemoteService(target, &clock, parent)
{
}

RemoteService::RemoteService(RemoteTarget& target, const RemoteClock* clock, QObject* parent)
    : QObject(parent), m_target(target), m_ownClock(clock ? nullptr : std::make_unique<SteadyClock>()),
      m_clock(clock ? *clock : *m_ownClock)
{
    m_page = readResource(u":/remote/phone.html"_s);
    m_pagePolicy = "default-src 'none'; script-src " + inlineHash(m_page, "<script>", "</script>") +
                   "; style-src " + inlineHash(m_page, "<style>", "</style>") +
                   "; connect-src 'self'; img-src data:; base-uri 'none'; form-action 'none'; "
                   "frame-ancestors 'none'";
    m_stateTimer.setParent(this);
    m_stateTimer.setObjectName(u"stateTimer"_s);
    m_stateTimer.setSingleShot(true);
    m_stateTimer.setInterval(kStateIntervalMs);
    connect(&m_stateTimer, &QTimer::timeout, this, [this] {
        if (m_statePending)
            broadcastState();
    });
}

RemoteService::~RemoteService()
{
    stop();
}

bool RemoteService::start(const RemoteConfig& config)
{
    stop();
    if (!tokenIsUsable(config.token)) {
        qCWarning(lcRemote) << "remote control not started: the token is too short or not URL-safe";
        return false;
    }
    m_http = std::make_unique<HttpFront>([this](const QHttpServerRequest& request, QTcpSocket* socket) {
        return answerHttp(request, socket);
    });
    connect(m_http.get(), &QAbstractHttpServer::newWebSocketConnection, this, &RemoteService::takeWebSockets);
    m_port = m_http->listen(config.address, config.port);
    if (m_port == 0) {
        qCWarning(lcRemote) << "remote control not started: cannot listen on" << config.address
                            << config.port;
        m_http.reset();
        return false;
    }
    m_config = config;
    return true;
}

void RemoteService::stop()
{
    while (!m_clients.empty())
        drop(m_clients.back()->id, QWebSocketProtocol::CloseCodeGoingAway);
    m_http.reset();
    m_port = 0;
    m_config = RemoteConfig {};
}

bool RemoteService::isListening() const
{
    return m_http != nullptr;
}

quint16 RemoteService::port() const
{
    return m_port;
}

QUrl RemoteService::pageUrl() const
{
    if (!isListening())
        return {};
    QHostAddress host = m_config.address;
    if (coversEveryInterface(host)) {
        host = QHostAddress(QHostAddress::LocalHost);
        for (const QHostAddress& candidate : QNetworkInterface::allAddresses()) {
            if (candidate.protocol() == QAbstractSocket::IPv4Protocol && !candidate.isLoopback() &&
                !candidate.isLinkLocal()) {
                host = candidate;
                break;
            }
        }
    }
    QUrl url;
    url.setScheme(u"http"_s);
    url.setHost(host.toString());
    url.setPort(m_port);
    url.setPath(u"/"_s);
    url.setQuery(u"token="_s + m_config.token);
    return url;
}

int RemoteService::clientCount() const
{
    return int(m_clients.size());
}

bool RemoteService::tokenAccepted(const QString& address, const QString& offered)
{
    const qint64 now = m_clock.nowMs();
    if (m_guard.refused(address, now))
        return false;
    if (offered.isEmpty())
        return false;
    if (tokensEqual(m_config.token, offered))
        return true;
    if (m_guard.recordFailure(address, now))
        qCWarning(lcRemote) << "remote control: refusing" << address
                            << "for a minute after repeated wrong tokens";
    return false;
}

bool RemoteService::answerHttp(const QHttpServerRequest& request, QTcpSocket* socket)
{
    using Status = QHttpServerResponder::StatusCode;
    const bool upgrade = request.value("upgrade").compare("websocket", Qt::CaseInsensitive) == 0;
    const QString path = request.url().path();
    // No body and no reason: a refusal says only its status.
    const auto refuse = [&](Status status) {
        HttpFront::responder(request, socket).write(status);
        return !upgrade;
    };
    if (!tokenAccepted(request.remoteAddress().toString(), tokenOf(request.url())))
        return refuse(Status::Unauthorized);
    if (upgrade) {
        if (path != "/control"_L1)
            return refuse(Status::NotFound);
        if (!originAllowed(request))
            return refuse(Status::Forbidden);
        if (int(m_clients.size()) >= kMaxClients)
            return refuse(Status::ServiceUnavailable);
        return true;
    }
    if (request.method() != QHttpServerRequest::Method::Get || path != "/"_L1)
        return refuse(Status::NotFound);
    HttpFront::responder(request, socket)
        .write(m_page, {{"Content-Type", "text/html; charset=utf-8"},
                        {"Content-Security-Policy", m_pagePolicy},
                        {"Cache-Control", "no-store"},
                        {"Referrer-Policy", "no-referrer"},
                        {"X-Content-Type-Options", "nosniff"}});
    return true;
}

void RemoteService::takeWebSockets()
{
    while (m_http && m_http->hasPendingWebSocketConnections())
        admit(m_http->nextPendingWebSocketConnection());
}

void RemoteService::admit(std::unique_ptr<QWebSocket> socket)
{
    // The request was accepted before Qt upgraded it; only clients that were accepted at the same
    // time as others can find the service full by now.
    socket->setParent(nullptr);
    if (int(m_clients.size()) >= kMaxClients) {
        closeAndDiscard(socket.release(), this, kCloseFull);
        return;
    }

    auto client = std::make_unique<Client>();
    const quint64 id = m_nextId++;
    client->id = id;
    client->socket = std::move(socket);
    client->socket->setMaxAllowedIncomingMessageSize(kMaxWebSocketMessage);
    client->socket->setMaxAllowedIncomingFrameSize(kMaxWebSocketMessage);
    client->wake.setSingleShot(true);
    connect(&client->wake, &QTimer::timeout, this, [this, id] { pump(id); });
    connect(client->socket.get(), &QWebSocket::textMessageReceived, this,
            [this, id](const QString& message) { enqueue(id, message.toUtf8(), true); });
    connect(client->socket.get(), &QWebSocket::binaryMessageReceived, this,
            [this, id](const QByteArray& message) { enqueue(id, message, false); });
    connect(client->socket.get(), &QWebSocket::disconnected, this,
            [this, id] { drop(id, QWebSocketProtocol::CloseCodeNormal); });
    if (m_hasState) {
        const QByteArray event = formatState(m_state);
        if (m_clients.empty())
            m_lastState = event;
        client->socket->sendTextMessage(QString::fromUtf8(event));
    }
    m_clients.push_back(std::move(client));
    emit clientsChanged(clientCount());
}

void RemoteService::enqueue(quint64 id, QByteArray message, bool text)
{
    Client* client = find(id);
    if (!client)
        return;
    if (int(client->queue.size()) >= kMaxQueued) {
        drop(id, kClosePolicy);
        return;
    }
    client->queue.emplace_back(std::move(message), text);
    pump(id);
}

void RemoteService::pump(quint64 id)
{
    for (;;) {
        Client* client = find(id);
        if (!client || client->busy || client->queue.empty() || client->wake.isActive())
            return;
        const qint64 now = m_clock.nowMs();
        if (const qint64 wait = client->throttle.waitMs(now)) {
            client->wake.start(int(qMin<qint64>(wait, MessageThrottle::kWindowMs)));
            return;
        }
        client->throttle.served(now);
        const auto [message, text] = std::move(client->queue.front());
        client->queue.pop_front();
        const ParseResult parsed =
            text ? parseCommand(message) : ParseResult(ParseError {Refusal::NotText, {}});
        if (const auto* error = std::get_if<ParseError>(&parsed)) {
            client->socket->sendTextMessage(QString::fromUtf8(formatError(*error)));
            continue;
        }
        client->busy = true;
        // The target may answer within the call or long after; either way only once, and not to
        // a client that has gone or a service that has ended.
        auto answered = std::make_shared<bool>(false);
        m_target.perform(std::get<Command>(parsed), [service = QPointer<RemoteService>(this), id,
                                                     answered](const RemoteOutcome& outcome) {
            if (*answered || !service)
                return;
            *answered = true;
            service->finish(id, outcome);
        });
    }
}

void RemoteService::finish(quint64 id, const RemoteOutcome& outcome)
{
    Client* client = find(id);
    if (!client)
        return;
    client->busy = false;
    client->socket->sendTextMessage(QString::fromUtf8(outcome.ok ? formatOk() : formatError(outcome.error)));
    // Within perform, pump's own loop goes on; later, the next message is served from the loop.
    QMetaObject::invokeMethod(
        this, [this, id] { pump(id); }, Qt::QueuedConnection);
}

void RemoteService::drop(quint64 id, int closeCode)
{
    const auto it =
        std::find_if(m_clients.begin(), m_clients.end(), [id](const auto& c) { return c->id == id; });
    if (it == m_clients.end())
        return;
    QWebSocket* socket = (*it)->socket.release();
    m_clients.erase(it);
    socket->disconnect(this);
    closeAndDiscard(socket, this, QWebSocketProtocol::CloseCode(closeCode));
    emit clientsChanged(clientCount());
}

RemoteService::Client* RemoteService::find(quint64 id)
{
    for (const auto& client : m_clients) {
        if (client->id == id)
            return client.get();
    }
    return nullptr;
}

void RemoteService::setState(const State& state)
{
    m_state = state;
    m_hasState = true;
    m_statePending = true;
    if (!m_stateTimer.isActive())
        broadcastState();
}

void RemoteService::broadcastState()
{
    m_statePending = false;
    if (m_clients.empty())
        return;
    const QByteArray event = formatState(m_state);
    if (event == m_lastState)
        return;
    m_lastState = event;
    const QString text = QString::fromUtf8(event);
    for (const auto& client : m_clients)
        client->socket->sendTextMessage(text);
    m_stateTimer.start();
}

}  // namespace velloran::platform::remote

#include "remoteservice.moc"
