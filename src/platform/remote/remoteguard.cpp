#include "platform/remote/remoteguard.h"

#include <QRandomGenerator>

#include <algorithm>
#include <array>

namespace velloran::platform::remote {

namespace {

constexpr int kTokenBytes = 32;
constexpr qsizetype kMinTokenChars = 22;  // 22 base64 characters carry 132 bits
// More addresses than a local network has; past it the oldest records go first.
constexpr qsizetype kMaxAddresses = 1024;

bool urlSafe(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'-' ||
           c == u'_';
}

}  // namespace

QString makeToken()
{
    std::array<quint32, kTokenBytes / 4> words;
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    const QByteArray bytes(reinterpret_cast<const char*>(words.data()), kTokenBytes);
    return QString::fromLatin1(
        bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

bool tokenIsUsable(const QString& token)
{
    return token.size() >= kMinTokenChars && std::all_of(token.begin(), token.end(), urlSafe);
}

bool tokensEqual(const QString& expected, const QString& offered)
{
    if (expected.isEmpty())
        return false;
    // Every character of the expected token is compared whatever the offered one holds.
    char16_t difference = offered.size() == expected.size() ? 0 : 1;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        const char16_t other = offered.isEmpty() ? 0 : offered.at(i % offered.size()).unicode();
        difference |= char16_t(expected.at(i).unicode() ^ other);
    }
    return difference == 0;
}

bool AttemptGuard::refused(const QString& address, qint64 nowMs)
{
    const auto it = m_records.constFind(address);
    return it != m_records.cend() && it->bannedUntil > nowMs;
}

bool AttemptGuard::recordFailure(const QString& address, qint64 nowMs)
{
    forgetOld(nowMs);
    if (m_records.size() >= kMaxAddresses && !m_records.contains(address)) {
        auto oldest = m_records.begin();
        for (auto it = m_records.begin(); it != m_records.end(); ++it) {
            if (it->last < oldest->last)
                oldest = it;
        }
        m_records.erase(oldest);
    }
    Record& record = m_records[address];
    record.last = nowMs;
    record.failures.push_back(nowMs);
    if (int(record.failures.size()) >= kFailures) {
        record.bannedUntil = nowMs + kBanMs;
        record.failures.clear();
        return true;
    }
    return false;
}

void AttemptGuard::forgetOld(qint64 nowMs)
{
    for (auto it = m_records.begin(); it != m_records.end();) {
        while (!it->failures.empty() && it->failures.front() <= nowMs - kWindowMs)
            it->failures.pop_front();
        if (it->failures.empty() && it->bannedUntil <= nowMs)
            it = m_records.erase(it);
        else
            ++it;
    }
}

qint64 MessageThrottle::waitMs(qint64 nowMs) const
{
    // Only the served times within the window count; older ones are dropped by served().
    qsizetype recent = 0;
    for (qint64 at : m_served) {
        if (at > nowMs - kWindowMs)
            ++recent;
    }
    if (recent < kPerSecond)
        return 0;
    const qint64 oldestRecent = m_served[m_served.size() - kPerSecond];
    return qMax<qint64>(1, oldestRecent + kWindowMs - nowMs);
}

void MessageThrottle::served(qint64 nowMs)
{
    m_served.push_back(nowMs);
    while (!m_served.empty() && (m_served.front() <= nowMs - kWindowMs || m_served.size() > kPerSecond))
        m_served.pop_front();
}

}  // namespace velloran::platform::remote
