#include "session/wavaudio.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace velloran::session {

namespace {

constexpr int kPcm = 1;
constexpr int kFloat = 3;
constexpr int kExtensible = 0xfffe;
constexpr std::size_t kMostFrames = std::size_t(192000) * 60 * 60 * 3;  // three hours at the highest rate

std::uint32_t le32(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
           std::uint32_t(b[3]) << 24;
}

std::uint16_t le16(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return std::uint16_t(b[0] | b[1] << 8);
}

std::int16_t sampleAt(const char* p, int bits, bool isFloat)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    if (isFloat) {
        float value;
        std::memcpy(&value, p, sizeof value);
        if (!std::isfinite(value))
            return 0;
        return std::int16_t(std::lround(std::clamp(value, -1.0f, 1.0f) * 32767.0f));
    }
    switch (bits) {
    case 8: return std::int16_t((int(b[0]) - 128) * 256);
    case 16: return std::int16_t(le16(p));
    case 24: return std::int16_t(b[1] | b[2] << 8);
    default: return std::int16_t(b[2] | b[3] << 8);
    }
}

bool fail(QString* reason, const QString& text)
{
    if (reason)
        *reason = text;
    return false;
}

}  // namespace

std::vector<std::int16_t> toSpeechAudio(const std::int16_t* samples, std::size_t frames, int channels,
                                        int rate)
{
    std::vector<std::int16_t> out;
    if (!samples || frames == 0 || channels < 1 || rate < 1)
        return out;
    const double ratio = double(rate) / kSpeechRate;  // input frames per output sample
    const auto outCount = std::size_t(std::floor(double(frames) / ratio));
    out.reserve(outCount);
    auto mono = [&](std::size_t frame) {
        long sum = 0;
        for (int c = 0; c < channels; ++c)
            sum += samples[frame * std::size_t(channels) + std::size_t(c)];
        return double(sum) / channels;
    };
    for (std::size_t i = 0; i < outCount; ++i) {
        const double begin = double(i) * ratio;
        const double end = begin + ratio;
        double value;
        if (ratio <= 1.0) {
            // Raising the rate: between the two nearest input frames.
            const auto left = std::size_t(begin);
            const std::size_t right = std::min(left + 1, frames - 1);
            const double t = begin - double(left);
            value = mono(left) * (1 - t) + mono(right) * t;
        } else {
            const auto first = std::size_t(begin);
            const std::size_t last = std::min(std::size_t(std::ceil(end)), frames);
            double sum = 0;
            for (std::size_t f = first; f < last; ++f)
                sum += mono(f);
            value = sum / double(std::max<std::size_t>(last - first, 1));
        }
        out.push_back(std::int16_t(std::lround(std::clamp(value, -32768.0, 32767.0))));
    }
    return out;
}

std::optional<std::vector<std::int16_t>> decodeWav(const QByteArray& bytes, QString* reason)
{
    const char* data = bytes.constData();
    const std::size_t size = std::size_t(bytes.size());
    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) {
        fail(reason, QStringLiteral("not a WAV file"));
        return std::nullopt;
    }
    int format = 0;
    int channels = 0;
    int rate = 0;
    int bits = 0;
    bool haveFormat = false;
    std::size_t at = 12;
    while (at + 8 <= size) {
        const char* id = data + at;
        const std::size_t length = le32(data + at + 4);
        const std::size_t body = at + 8;
        const std::size_t available = std::min(length, size - body);
        if (std::memcmp(id, "fmt ", 4) == 0 && available >= 16) {
            format = le16(data + body);
            channels = le16(data + body + 2);
            rate = int(le32(data + body + 4));
            bits = le16(data + body + 14);
            if (format == kExtensible && available >= 26)
                format = le16(data + body + 24);
            haveFormat = true;
        } else if (std::memcmp(id, "data", 4) == 0) {
            if (!haveFormat) {
                fail(reason, QStringLiteral("the WAV file has no format before its audio"));
                return std::nullopt;
            }
            const bool isFloat = format == kFloat && bits == 32;
            if (!((format == kPcm && (bits == 8 || bits == 16 || bits == 24 || bits == 32)) || isFloat) ||
                channels < 1 || channels > 16 || rate < 8000 || rate > 192000) {
                fail(reason, QStringLiteral("the WAV file's audio is not PCM of 8 to 32 bits or 32-bit float "
                                            "at 8 to 192 kHz"));
                return std::nullopt;
            }
            const std::size_t frameBytes = std::size_t(bits / 8) * std::size_t(channels);
            const std::size_t frames = std::min(available / frameBytes, kMostFrames);
            std::vector<std::int16_t> interleaved(frames * std::size_t(channels));
            for (std::size_t i = 0; i < interleaved.size(); ++i)
                interleaved[i] = sampleAt(data + body + i * std::size_t(bits / 8), bits, isFloat);
            auto speech = toSpeechAudio(interleaved.data(), frames, channels, rate);
            if (speech.empty()) {
                fail(reason, QStringLiteral("the WAV file holds no audio"));
                return std::nullopt;
            }
            return speech;
        }
        if (length > size - body)
            break;
        at = body + length + (length & 1);
    }
    fail(reason, QStringLiteral("the WAV file holds no audio"));
    return std::nullopt;
}

}  // namespace velloran::session
