#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <deque>

// The remote control's access rules that need no network to decide: the token itself, the
// address that keeps guessing it, and the client that sends too fast.
namespace velloran::platform::remote {

// 32 bytes from the system's secure generator, as URL-safe base64 without padding (43 characters).
QString makeToken();
// At least 128 bits of URL-safe base64, so a hand-edited token cannot open the door wide.
bool tokenIsUsable(const QString& token);
// Compares in time that depends only on the expected token's length, not on where they differ.
bool tokensEqual(const QString& expected, const QString& offered);

// Addresses that gave a wrong token kFailures times within kWindowMs are refused for kBanMs.
class AttemptGuard {
public:
    static constexpr int kFailures = 5;
    static constexpr qint64 kWindowMs = 60'000;
    static constexpr qint64 kBanMs = 60'000;

    bool refused(const QString& address, qint64 nowMs);
    // True when this failure starts a ban.
    bool recordFailure(const QString& address, qint64 nowMs);

private:
    struct Record {
        std::deque<qint64> failures;
        qint64 bannedUntil = 0;
        qint64 last = 0;
    };
    void forgetOld(qint64 nowMs);

    QHash<QString, Record> m_records;
};

// At most kPerSecond messages in any kWindowMs; the rest wait their turn.
class MessageThrottle {
public:
    static constexpr int kPerSecond = 50;
    static constexpr qint64 kWindowMs = 1000;

    // 0 when a message may be served now, else the milliseconds until one may.
    qint64 waitMs(qint64 nowMs) const;
    void served(qint64 nowMs);

private:
    std::deque<qint64> m_served;
};

}  // namespace velloran::platform::remote
