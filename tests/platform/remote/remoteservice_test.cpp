// The remote control service on 127.0.0.1 and a free port, against a fake target: what it
// serves, what it refuses, and how fast it lets a client go.
#include "platform/remote/remoteservice.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkInterface>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QTcpSocket>
#include <QTest>
#include <QWebSocket>

#include <memory>

using namespace velloran::platform::remote;
using namespace Qt::StringLiterals;

namespace {

// Real time plus whatever the test adds, so the throttle runs as it would and a ban ends at once.
class ShiftedClock final : public RemoteClock {
public:
    ShiftedClock() { m_timer.start(); }
    qint64 nowMs() const override { return m_timer.elapsed() + shift; }
    qint64 shift = 0;

private:
    QElapsedTimer m_timer;
};

class FakeTarget final : public RemoteTarget {
public:
    void perform(const Command& command, RemoteDone done) override
    {
        commands.push_back(command);
        times.push_back(clock.elapsed());
        if (holdReplies)
            held.push_back(std::move(done));
        else
            done(outcome);
    }
    std::vector<Command> commands;
    std::vector<qint64> times;
    std::vector<RemoteDone> held;
    RemoteOutcome outcome;
    bool holdReplies = false;
    QElapsedTimer clock;
};

// A WebSocket client that keeps what it is told.
class Client : public QObject {
    Q_OBJECT
public:
    explicit Client(const QUrl& url, const QString& origin = {}) : socket(origin)
    {
        connect(&socket, &QWebSocket::connected, this, [this] { connected = true; });
        connect(&socket, &QWebSocket::disconnected, this, [this] {
            closed = true;
            closeCode = socket.closeCode();
        });
        connect(&socket, &QWebSocket::textMessageReceived, this, [this](const QString& text) {
            const QJsonObject message = QJsonDocument::fromJson(text.toUtf8()).object();
            (message.contains("event"_L1) ? states : replies).push_back(message);
        });
        socket.setProxy(QNetworkProxy::NoProxy);
        socket.open(url);
    }
    void send(const QByteArray& message) { socket.sendTextMessage(QString::fromUtf8(message)); }

    QWebSocket socket;
    bool connected = false;
    bool closed = false;
    int closeCode = -1;
    QList<QJsonObject> replies;
    QList<QJsonObject> states;
};

struct HttpAnswer {
    int status = 0;
    QByteArray body;
    QByteArray policy;
};

}  // namespace

class RemoteServiceTest : public QObject {
    Q_OBJECT

private:
    FakeTarget m_target;
    ShiftedClock m_clock;
    std::unique_ptr<RemoteService> m_service;
    QString m_token = makeToken();
    QNetworkAccessManager m_network;

    QUrl url(const QString& pathAndQuery, const QString& scheme = u"http"_s) const
    {
        return QUrl(scheme + u"://127.0.0.1:"_s + QString::number(m_service->port()) + pathAndQuery);
    }
    QString withToken(const QString& path) const { return path + u"?token="_s + m_token; }

    HttpAnswer get(const QString& pathAndQuery, const QByteArray& verb = "GET")
    {
        std::unique_ptr<QNetworkReply> reply(
            m_network.sendCustomRequest(QNetworkRequest(url(pathAndQuery)), verb));
        if (!QTest::qWaitFor([&] { return reply->isFinished(); }, 5000))
            return {};
        return {reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), reply->readAll(),
                reply->rawHeader("Content-Security-Policy")};
    }
    static bool settled(const Client& client)
    {
        return QTest::qWaitFor(
            [&] { return client.closed || (client.connected && !client.states.isEmpty()); }, 5000);
    }

private Q_SLOTS:
    void init()
    {
        m_target = FakeTarget {};
        m_target.clock.start();
        m_clock.shift = 0;
        m_network.setProxy(QNetworkProxy::NoProxy);
        m_service = std::make_unique<RemoteService>(m_target, m_clock);
        m_service->setState(State {});
        QVERIFY(m_service->start({QHostAddress(QHostAddress::LocalHost), 0, m_token}));
    }
    void cleanup() { m_service.reset(); }

    void doesNothingUntilStartedWithAUsableToken()
    {
        RemoteService idle(m_target);
        QVERIFY(!idle.isListening());
        QCOMPARE(idle.port(), quint16(0));
        QVERIFY(idle.pageUrl().isEmpty());
        for (const QString& token : QStringList {QString(), u"short"_s, m_token + u"/"_s})
            QVERIFY(!idle.start({QHostAddress(QHostAddress::LocalHost), 0, token}));
        QVERIFY(!idle.isListening());
        QCOMPARE(m_service->pageUrl(), url(u"/?token="_s + m_token));
    }

    void listensOnLoopbackOnlyUnlessGivenAnAddress()
    {
        QHostAddress outside;
        for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
            if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback() &&
                !address.isLinkLocal() && outside.isNull())
                outside = address;
        }
        if (outside.isNull())
            QSKIP("this machine has no address but loopback");
        auto reaches = [&](quint16 port) {
            QTcpSocket socket;
            socket.connectToHost(outside, port);
            return socket.waitForConnected(3000);
        };
        QVERIFY(!reaches(m_service->port()));
        RemoteService open(m_target);
        QVERIFY(open.start({QHostAddress(QHostAddress::AnyIPv4), 0, m_token}));
        QVERIFY(reaches(open.port()));
        QCOMPARE(open.pageUrl().host(), outside.toString());
    }

    void servesThePageOnlyWithTheToken_data()
    {
        QTest::addColumn<QString>("request");
        QTest::addColumn<QByteArray>("verb");
        QTest::addColumn<int>("status");
        QTest::newRow("no token") << u"/"_s << QByteArray("GET") << 401;
        QTest::newRow("empty token") << u"/?token="_s << QByteArray("GET") << 401;
        QTest::newRow("wrong token") << u"/?token="_s + makeToken() << QByteArray("GET") << 401;
        QTest::newRow("token cut short") << u"/?token="_s + m_token.left(42) << QByteArray("GET") << 401;
        QTest::newRow("other path, no token") << u"/favicon.ico"_s << QByteArray("GET") << 401;
        QTest::newRow("other path") << withToken(u"/favicon.ico"_s) << QByteArray("GET") << 404;
        QTest::newRow("control as a page") << withToken(u"/control"_s) << QByteArray("GET") << 404;
        QTest::newRow("post") << withToken(u"/"_s) << QByteArray("POST") << 404;
        QTest::newRow("page") << withToken(u"/"_s) << QByteArray("GET") << 200;
    }
    void servesThePageOnlyWithTheToken()
    {
        QFETCH(QString, request);
        QFETCH(QByteArray, verb);
        QFETCH(int, status);
        const HttpAnswer answer = get(request, verb);
        QCOMPARE(answer.status, status);
        if (status == 200) {
            QVERIFY(answer.body.contains("<title>Velloran remote</title>"));
            QVERIFY(answer.policy.startsWith("default-src 'none'; script-src 'sha256-"));
            QVERIFY(!answer.body.contains("http://") && !answer.body.contains("https://"));
        } else {
            QVERIFY2(answer.body.isEmpty(), answer.body.constData());
        }
        QVERIFY(m_target.commands.empty());
    }

    void refusesWebSocketsWithoutTokenPathOrOrigin_data()
    {
        QTest::addColumn<QString>("request");
        QTest::addColumn<QByteArray>("origin");
        QTest::addColumn<int>("status");
        const QString control = withToken(u"/control"_s);
        QTest::newRow("no token") << u"/control"_s << QByteArray() << 401;
        QTest::newRow("wrong token") << u"/control?token="_s + makeToken() << QByteArray() << 401;
        QTest::newRow("page path") << withToken(u"/"_s) << QByteArray() << 404;
        QTest::newRow("other site") << control << QByteArray("http://example.com") << 403;
        QTest::newRow("other port") << control << QByteArray("http://127.0.0.1:1") << 403;
        QTest::newRow("secure origin") << control << QByteArray("https://127.0.0.1:PORT") << 403;
        QTest::newRow("null origin") << control << QByteArray("null") << 403;
        QTest::newRow("its own page") << control << QByteArray("http://127.0.0.1:PORT") << 101;
        QTest::newRow("no origin") << control << QByteArray() << 101;
    }
    void refusesWebSocketsWithoutTokenPathOrOrigin()
    {
        QFETCH(QString, request);
        QFETCH(QByteArray, origin);
        QFETCH(int, status);
        const QByteArray port = QByteArray::number(m_service->port());
        // By hand, so the answer's status shows; the client then sends a command, which a
        // refused client must never have heard.
        QByteArray handshake = "GET " + request.toLatin1() + " HTTP/1.1\r\nHost: 127.0.0.1:" + port +
                               "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                               "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n";
        if (!origin.isEmpty())
            handshake += "Origin: " + origin.replace("PORT", port) + "\r\n";
        const QByteArray play = formatCommand(Command {Verb::Play});
        QByteArray frame = QByteArray() + char(0x81) + char(0x80 | play.size()) + "\x01\x02\x03\x04";
        for (qsizetype i = 0; i < play.size(); ++i)
            frame += char(play[i] ^ char(1 + i % 4));
        QTcpSocket socket;
        socket.setProxy(QNetworkProxy::NoProxy);
        socket.connectToHost(QHostAddress(QHostAddress::LocalHost), m_service->port());
        socket.write(handshake + "\r\n");
        QVERIFY(QTest::qWaitFor([&] { return socket.canReadLine(); }, 5000));
        QCOMPARE(socket.readLine().split(' ').value(1).toInt(), status);
        socket.write(frame);
        if (status == 101) {
            QTRY_COMPARE(m_target.commands.size(), 1u);
            return;
        }
        QVERIFY(QTest::qWaitFor([&] { return socket.state() == QAbstractSocket::UnconnectedState; }, 5000));
        const QByteArray rest = socket.readAll();
        QVERIFY2(rest.endsWith("Content-Length: 0\r\n\r\n"), rest.constData());
        QVERIFY(m_target.commands.empty());
    }

    void refusesAnAddressForAMinuteAfterFiveWrongTokens()
    {
        const QString wrong = u"/?token="_s + makeToken();
        for (int i = 0; i < 4; ++i)
            QCOMPARE(get(wrong).status, 401);
        QCOMPARE(get(withToken(u"/"_s)).status, 200);
        Client guessing(url(u"/control?token="_s + makeToken(), u"ws"_s));
        QVERIFY(settled(guessing) && !guessing.connected);  // the fifth wrong token

        QCOMPARE(get(withToken(u"/"_s)).status, 401);
        Client rightful(url(withToken(u"/control"_s), u"ws"_s));
        QVERIFY(settled(rightful) && !rightful.connected);
        m_clock.shift += 59'000;
        QCOMPARE(get(withToken(u"/"_s)).status, 401);
        m_clock.shift += 1'000;
        QCOMPARE(get(withToken(u"/"_s)).status, 200);
        QVERIFY(m_target.commands.empty());
    }

    void answersEveryMessageAndActsOnlyOnGoodOnes()
    {
        Client client(url(withToken(u"/control"_s), u"ws"_s));
        QVERIFY(settled(client) && client.connected);
        const QByteArray bad[] = {
            "not json",
            R"({"v":1,"cmd":"speed","step":5})",
            R"({"v":1,"cmd":"launch"})",
            formatCommand({}).chopped(1) + ",\"pad\":\"" + QByteArray(kMaxMessageBytes, 'x') + "\"}",
        };
        for (const QByteArray& message : bad)
            client.send(message);
        client.socket.sendBinaryMessage(R"({"v":1,"cmd":"play"})");
        QTRY_COMPARE(client.replies.size(), 5);
        const char* errors[] = {"malformed", "out of range", "unknown command", "too long", "not text"};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(client.replies[i].value("ok"_L1).toBool(true), false);
            QCOMPARE(client.replies[i].value("error"_L1).toString(), QLatin1String(errors[i]));
        }
        QVERIFY(m_target.commands.empty());

        // The reply comes once the command has taken effect, in the target's words when refused.
        m_target.holdReplies = true;
        client.send(R"({"v":1,"cmd":"marker","to":"next"})");
        client.send(R"({"v":1,"cmd":"goto","fraction":0.5})");
        QTRY_COMPARE(m_target.commands.size(), 1u);
        QCOMPARE(m_target.commands[0].verb, Verb::Marker);
        QCOMPARE(client.replies.size(), 5);
        m_target.held[0](RemoteOutcome::refused(u"no markers"_s));
        QTRY_COMPARE(m_target.commands.size(), 2u);
        QCOMPARE(client.replies.size(), 6);
        QCOMPARE(client.replies[5].value("error"_L1).toString(), u"no markers"_s);
        m_target.held[1](RemoteOutcome::done());
        m_target.held[1](RemoteOutcome::refused(u"twice"_s));  // a second answer is dropped
        m_target.holdReplies = false;
        client.send(R"({"v":1,"cmd":"home"})");
        QTRY_COMPARE(m_target.commands.size(), 3u);
        QTRY_COMPARE(client.replies.size(), 8);
        QVERIFY(client.replies[6].value("ok"_L1).toBool() && client.replies[7].value("ok"_L1).toBool());
        QCOMPARE(m_target.commands[1].fraction, 0.5);
    }

    void takesEightClientsAtOnce()
    {
        std::vector<std::unique_ptr<Client>> clients;
        for (int i = 0; i < RemoteService::kMaxClients; ++i) {
            clients.push_back(std::make_unique<Client>(url(withToken(u"/control"_s), u"ws"_s)));
            QVERIFY(settled(*clients.back()) && !clients.back()->closed);
        }
        QTRY_COMPARE(m_service->clientCount(), RemoteService::kMaxClients);
        Client ninth(url(withToken(u"/control"_s), u"ws"_s));
        QVERIFY(settled(ninth) && ninth.closed && !ninth.connected);
        clients.front()->socket.close();
        QTRY_COMPARE(m_service->clientCount(), RemoteService::kMaxClients - 1);
        Client next(url(withToken(u"/control"_s), u"ws"_s));
        QVERIFY(settled(next) && !next.closed);
    }

    void servesAFloodAtFiftyASecondAndClosesOneFarBehind()
    {
        Client client(url(withToken(u"/control"_s), u"ws"_s));
        QVERIFY(settled(client) && client.connected);
        for (int i = 0; i < 60; ++i)
            client.send(R"({"v":1,"cmd":"nudge","dir":"up"})");
        QTRY_VERIFY_WITH_TIMEOUT(client.replies.size() == 60, 5000);
        QCOMPARE(m_target.commands.size(), 60u);
        QVERIFY2(m_target.times[50] - m_target.times[0] >= 990,
                 qPrintable(QString::number(m_target.times[50])));

        Client flood(url(withToken(u"/control"_s), u"ws"_s));
        QVERIFY(settled(flood) && flood.connected);
        for (int i = 0; i < 50 + RemoteService::kMaxQueued + 10; ++i)
            flood.send(R"({"v":1,"cmd":"home"})");
        QTRY_VERIFY(flood.closed);
        QCOMPARE(flood.closeCode, int(QWebSocketProtocol::CloseCodePolicyViolated));
        QCOMPARE(m_target.commands.size(), 60u + 50u);

        // A message far over the limit is not even read whole.
        Client huge(url(withToken(u"/control"_s), u"ws"_s));
        QVERIFY(settled(huge) && huge.connected);
        huge.send(QByteArray(5 * kMaxMessageBytes, 'x'));
        QTRY_VERIFY(huge.closed);
        QCOMPARE(huge.closeCode, int(QWebSocketProtocol::CloseCodeTooMuchData));
        QVERIFY(huge.replies.isEmpty());
    }

    void pushesTheStateAtMostTenTimesASecond()
    {
        State state;
        state.line = 1;
        m_service->setState(state);
        Client client(url(withToken(u"/control"_s), u"ws"_s));
        QVERIFY(settled(client) && client.connected);
        QCOMPARE(client.states.size(), 1);
        QCOMPARE(client.states[0].value("line"_L1).toInt(), 1);
        // A state that changes on every turn of the event loop for a third of a second.
        QElapsedTimer elapsed;
        elapsed.start();
        while (elapsed.elapsed() < 300) {
            ++state.line;
            m_service->setState(state);
            QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
        }
        const int last = state.line;
        QTRY_COMPARE(client.states.last().value("line"_L1).toInt(), last);
        const qsizetype sent = client.states.size() - 1;
        QVERIFY2(last > 50 && sent <= elapsed.elapsed() / RemoteService::kStateIntervalMs + 1,
                 qPrintable(QString::number(sent)));
        for (qsizetype i = 1; i < client.states.size(); ++i)
            QVERIFY(client.states[i].value("line"_L1).toInt() >
                    client.states[i - 1].value("line"_L1).toInt());
        // Once the wait is over, the same state again is no news.
        const QTimer* wait = m_service->findChild<QTimer*>(u"stateTimer"_s);
        QVERIFY(wait);
        QTRY_VERIFY(!wait->isActive());
        m_service->setState(state);
        ++state.line;
        m_service->setState(state);
        QTRY_COMPARE(client.states.last().value("line"_L1).toInt(), last + 1);
        QCOMPARE(client.states.size(), sent + 2);
    }
};

QTEST_GUILESS_MAIN(RemoteServiceTest)
#include "remoteservice_test.moc"
