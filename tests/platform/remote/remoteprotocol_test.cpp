// The remote control's messages, token and access rules, without a network.
#include "platform/remote/remoteguard.h"
#include "platform/remote/remoteprotocol.h"
#include "platform/remote/remoteqr.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <set>

using namespace velloran::platform::remote;
using namespace Qt::StringLiterals;

namespace {

Command make(Verb verb, int step = 0, double fraction = 0, int marker = 0, bool on = false)
{
    return Command {verb, step, fraction, marker, on};
}

QJsonObject json(const QByteArray& bytes)
{
    return QJsonDocument::fromJson(bytes).object();
}

}  // namespace

TEST(RemoteProtocol, ReadsEveryCommandAndRefusesWhatItCannotRead)
{
    struct Row {
        const char* message;
        ParseResult expected;
    };
    const ParseError tooLong {Refusal::TooLong, {}};
    const Row rows[] = {
        {R"({"v":1,"cmd":"play"})", make(Verb::Play)},
        {R"({"cmd":"pause","v":1})", make(Verb::Pause)},
        {R"({"v":1.0,"cmd":"toggle"})", make(Verb::Toggle)},
        {R"({"v":1,"cmd":"home"})", make(Verb::Home)},
        {R"({"v":1,"cmd":"nudge","dir":"up"})", make(Verb::Nudge, 1)},
        {R"({"v":1,"cmd":"nudge","dir":"down"})", make(Verb::Nudge, -1)},
        {R"({"v":1,"cmd":"speed","step":-1})", make(Verb::Speed, -1)},
        {R"({"v":1,"cmd":"frequency","step":1})", make(Verb::Frequency, 1)},
        {R"({"v":1,"cmd":"font","step":1})", make(Verb::Font, 1)},
        {R"({"v":1,"cmd":"goto","fraction":0})", make(Verb::Goto)},
        {R"({"v":1,"cmd":"goto","fraction":1})", make(Verb::Goto, 0, 1.0)},
        {R"({"v":1,"cmd":"goto","fraction":0.25})", make(Verb::Goto, 0, 0.25)},
        {R"({"v":1,"cmd":"marker","to":"next"})", make(Verb::Marker, 1)},
        {R"({"v":1,"cmd":"marker","to":"prev"})", make(Verb::Marker, -1)},
        {R"({"v":1,"cmd":"marker","to":3})", make(Verb::Marker, 0, 0, 3)},
        {R"({"v":1,"cmd":"marker","to":9999})", make(Verb::Marker, 0, 0, 9999)},
        {R"({"v":1,"cmd":"fullscreen","on":true})", make(Verb::FullScreen, 0, 0, 0, true)},
        {R"({"v":1,"cmd":"panel","shown":false})", make(Verb::Panel)},
        {R"({"v":1,"cmd":"mirror","on":true})", make(Verb::Mirror, 0, 0, 0, true)},
        {R"({"v":1,"cmd":"cue","on":false})", make(Verb::Cue)},

        {"", ParseError {Refusal::Malformed, {}}},
        {"{\"v\":1,\"cmd\":\"play\"", ParseError {Refusal::Malformed, {}}},
        {R"([1,"play"])", ParseError {Refusal::Malformed, {}}},
        {R"("play")", ParseError {Refusal::Malformed, {}}},
        {R"({"cmd":"play"})", ParseError {Refusal::BadVersion, u"v"_s}},
        {R"({"v":2,"cmd":"play"})", ParseError {Refusal::BadVersion, u"v"_s}},
        {R"({"v":"1","cmd":"play"})", ParseError {Refusal::BadVersion, u"v"_s}},
        {R"({"v":1})", ParseError {Refusal::MissingField, u"cmd"_s}},
        {R"({"v":1,"cmd":7})", ParseError {Refusal::WrongType, u"cmd"_s}},
        {R"({"v":1,"cmd":"PLAY"})", ParseError {Refusal::UnknownCommand, u"cmd"_s}},
        {R"({"v":1,"cmd":"open","path":"/etc/passwd"})", ParseError {Refusal::UnknownCommand, u"cmd"_s}},
        {R"({"v":1,"cmd":"play","dir":"up"})", ParseError {Refusal::UnknownField, u"dir"_s}},
        {R"({"v":1,"cmd":"nudge","dir":"up","step":1})", ParseError {Refusal::UnknownField, u"step"_s}},
        {R"({"v":1,"cmd":"nudge"})", ParseError {Refusal::MissingField, u"dir"_s}},
        {R"({"v":1,"cmd":"nudge","dir":1})", ParseError {Refusal::WrongType, u"dir"_s}},
        {R"({"v":1,"cmd":"nudge","dir":"left"})", ParseError {Refusal::OutOfRange, u"dir"_s}},
        {R"({"v":1,"cmd":"speed","step":"1"})", ParseError {Refusal::WrongType, u"step"_s}},
        {R"({"v":1,"cmd":"speed","step":2})", ParseError {Refusal::OutOfRange, u"step"_s}},
        {R"({"v":1,"cmd":"font","step":0})", ParseError {Refusal::OutOfRange, u"step"_s}},
        {R"({"v":1,"cmd":"frequency","step":0.5})", ParseError {Refusal::OutOfRange, u"step"_s}},
        {R"({"v":1,"cmd":"goto","fraction":1.0001})", ParseError {Refusal::OutOfRange, u"fraction"_s}},
        {R"({"v":1,"cmd":"goto","fraction":-0.1})", ParseError {Refusal::OutOfRange, u"fraction"_s}},
        {R"({"v":1,"cmd":"goto","fraction":null})", ParseError {Refusal::WrongType, u"fraction"_s}},
        {R"({"v":1,"cmd":"marker","to":0})", ParseError {Refusal::OutOfRange, u"to"_s}},
        {R"({"v":1,"cmd":"marker","to":10000})", ParseError {Refusal::OutOfRange, u"to"_s}},
        {R"({"v":1,"cmd":"marker","to":1.5})", ParseError {Refusal::OutOfRange, u"to"_s}},
        {R"({"v":1,"cmd":"marker","to":"last"})", ParseError {Refusal::OutOfRange, u"to"_s}},
        {R"({"v":1,"cmd":"marker","to":[1]})", ParseError {Refusal::WrongType, u"to"_s}},
        {R"({"v":1,"cmd":"mirror","on":1})", ParseError {Refusal::WrongType, u"on"_s}},
        {R"({"v":1,"cmd":"panel","on":true})", ParseError {Refusal::UnknownField, u"on"_s}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message);
        EXPECT_EQ(parseCommand(QByteArray(row.message)), row.expected);
    }
    // The limit counts bytes: the longest message allowed is read, one byte more is not.
    QByteArray padded = R"({"v":1,"cmd":"play","pad":")" + QByteArray(kMaxMessageBytes, 'x') + R"("})";
    EXPECT_EQ(parseCommand(padded), ParseResult(tooLong));
    QByteArray fits = R"({"v":1,"cmd":"play"})" + QByteArray(kMaxMessageBytes - 20, ' ');
    ASSERT_EQ(fits.size(), kMaxMessageBytes);
    EXPECT_EQ(parseCommand(fits), ParseResult(make(Verb::Play)));
}

TEST(RemoteProtocol, FormatsWhatItReadsAndTheReplies)
{
    for (const Command& command :
         {make(Verb::Nudge, -1), make(Verb::Speed, 1), make(Verb::Goto, 0, 0.375), make(Verb::Marker, -1),
          make(Verb::Marker, 0, 0, 12), make(Verb::Panel, 0, 0, 0, true), make(Verb::Home)})
        EXPECT_EQ(parseCommand(formatCommand(command)), ParseResult(command))
            << formatCommand(command).data();
    EXPECT_EQ(formatOk(), R"({"ok":true,"v":1})");
    EXPECT_EQ(formatError(ParseError {Refusal::OutOfRange, u"step"_s}),
              R"({"error":"out of range","field":"step","ok":false,"v":1})");
    EXPECT_EQ(formatError(u"no markers"_s), R"({"error":"no markers","ok":false,"v":1})");
}

TEST(RemoteProtocol, StateCarriesOnlyTheLineBeingReadAndSaneNumbers)
{
    State state;
    state.playing = true;
    state.fraction = 1.5;
    state.line = 42;
    state.runSeconds = 75;
    state.window = WindowShown::Full;
    state.reading = u"a\tb\u0007c\u200Bd"_s + QString(300, u'x');
    QJsonObject event = json(formatState(state));
    EXPECT_EQ(event.value("event"_L1).toString(), u"state"_s);
    EXPECT_EQ(event.value("v"_L1).toInt(), 1);
    EXPECT_TRUE(event.value("playing"_L1).toBool());
    EXPECT_EQ(event.value("fraction"_L1).toDouble(), 1.0);
    EXPECT_EQ(event.value("line"_L1).toInt(), 42);
    EXPECT_EQ(event.value("runSeconds"_L1).toInt(), 75);
    EXPECT_EQ(event.value("window"_L1).toString(), u"full"_s);
    const QString reading = event.value("reading"_L1).toString();
    EXPECT_EQ(reading.size(), kMaxReadingChars);
    EXPECT_TRUE(reading.startsWith(u"a bcd"_s));

    // A surrogate pair is one character and never split at the cut.
    state.reading = QString(kMaxReadingChars - 1, u'y') + QString::fromUcs4(U"\U0001F600z");
    state.fraction = -0.5;
    event = json(formatState(state));
    EXPECT_TRUE(event.value("reading"_L1).toString().endsWith(QString::fromUcs4(U"y\U0001F600")));
    EXPECT_EQ(event.value("fraction"_L1).toDouble(), 0.0);
}

TEST(RemoteToken, SecureUrlSafeAndComparedWhole)
{
    std::set<QString> seen;
    for (int i = 0; i < 50; ++i) {
        const QString token = makeToken();
        EXPECT_EQ(token.size(), 43);  // 256 bits
        EXPECT_TRUE(tokenIsUsable(token)) << token.toStdString();
        seen.insert(token);
    }
    EXPECT_EQ(seen.size(), 50u);

    const QString token = makeToken();
    EXPECT_TRUE(tokensEqual(token, token));
    for (const QString& other :
         QStringList {QString(), token.left(42), token + u'A', QString(token).replace(42, 1, u'!'),
                      QString(token).replace(0, 1, u'!'), token.repeated(2)})
        EXPECT_FALSE(tokensEqual(token, other)) << other.toStdString();
    EXPECT_FALSE(tokensEqual(QString(), QString()));
    EXPECT_FALSE(tokenIsUsable(QString(21, u'a')));
    EXPECT_TRUE(tokenIsUsable(QString(22, u'a')));
    EXPECT_FALSE(tokenIsUsable(QString(30, u'a') + u'/'));
}

TEST(AttemptGuard, FiveWrongTokensInAMinuteRefuseTheAddressForAMinute)
{
    AttemptGuard guard;
    const QString a = u"192.0.2.1"_s, b = u"192.0.2.2"_s;
    // Failures spread so that no minute holds five never ban.
    for (qint64 t : {0, 30'000, 60'000, 90'000, 100'000, 105'000})
        EXPECT_FALSE(guard.recordFailure(a, t)) << t;
    EXPECT_FALSE(guard.refused(a, 105'000));
    EXPECT_TRUE(guard.recordFailure(a, 110'000));  // 60, 90, 100, 105 and 110 s: five in a minute
    EXPECT_TRUE(guard.refused(a, 110'000));
    EXPECT_TRUE(guard.refused(a, 169'999));
    EXPECT_FALSE(guard.refused(b, 120'000));
    EXPECT_FALSE(guard.refused(a, 170'000));
    // After the ban the count starts again.
    EXPECT_FALSE(guard.recordFailure(a, 170'000));
    EXPECT_FALSE(guard.refused(a, 170'001));
}

TEST(MessageThrottle, FiftyInAnySecondAndTheRestWait)
{
    MessageThrottle throttle;
    for (int i = 0; i < MessageThrottle::kPerSecond; ++i) {
        ASSERT_EQ(throttle.waitMs(100 + i), 0);
        throttle.served(100 + i);
    }
    EXPECT_EQ(throttle.waitMs(149), 951);  // until the first of the fifty leaves the second
    EXPECT_EQ(throttle.waitMs(1099), 1);
    EXPECT_EQ(throttle.waitMs(1100), 0);
    throttle.served(1100);
    EXPECT_EQ(throttle.waitMs(1100), 1);  // until the second of the first fifty leaves
    EXPECT_EQ(throttle.waitMs(5000), 0);
}

TEST(RemoteQr, EncodesAnAddressWithItsFinderPatterns)
{
    const QByteArray url = "http://192.168.1.20:47631/?token=" + makeToken().toLatin1();
    const QrMatrix matrix = qrMatrix(url);
    ASSERT_GE(matrix.size, 21);
    EXPECT_EQ((matrix.size - 17) % 4, 0);
    // The three corner squares: a dark ring, a light ring, a dark 3x3 centre.
    for (auto [cx, cy] : {std::pair {0, 0}, {matrix.size - 7, 0}, {0, matrix.size - 7}}) {
        for (int y = 0; y < 7; ++y) {
            for (int x = 0; x < 7; ++x) {
                const int ring = std::min({x, y, 6 - x, 6 - y});
                EXPECT_EQ(matrix.at(cx + x, cy + y), ring != 1) << cx << ',' << cy << ' ' << x << ',' << y;
            }
        }
    }
    EXPECT_NE(qrMatrix(url + "x").dark, matrix.dark);
    const QImage image = qrImage(url, 5);
    EXPECT_EQ(image.width(), (matrix.size + 8) * 5);
    EXPECT_EQ(qGray(image.pixel(4 * 5 + 2, 4 * 5 + 2)), 0);
    EXPECT_EQ(qGray(image.pixel(2, 2)), 255);
    EXPECT_EQ(qrMatrix(QByteArray(8000, 'a')).size, 0);
    EXPECT_TRUE(qrImage(QByteArray(8000, 'a')).isNull());
}
