#include <gtest/gtest.h>

#include "session/wavaudio.h"

#include <cmath>
#include <cstring>

using namespace velloran::session;

namespace {

void put(QByteArray& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xff));
}

struct Format {
    int tag = 1;
    int channels = 1;
    int rate = 16000;
    int bits = 16;
};

// A WAV file of `frames` frames of a 500 Hz tone at half scale, every channel alike, with an
// extra chunk before the audio.
QByteArray wav(const Format& f, int frames, bool extensible = false, int cutBytes = 0)
{
    QByteArray audio;
    for (int i = 0; i < frames; ++i) {
        const double value = 0.5 * std::sin(2 * M_PI * 500 * i / f.rate);
        for (int c = 0; c < f.channels; ++c) {
            if (f.tag == 3) {
                const float v = float(value);
                std::uint32_t raw;
                std::memcpy(&raw, &v, 4);
                put(audio, raw, 4);
            } else if (f.bits == 8) {
                put(audio, std::uint32_t(std::lround(128 + value * 127)), 1);
            } else {
                const auto v = std::int32_t(std::lround(value * (std::pow(2.0, f.bits - 1) - 1)));
                put(audio, std::uint32_t(v), f.bits / 8);
            }
        }
    }
    QByteArray fmt;
    put(fmt, extensible ? 0xfffe : std::uint32_t(f.tag), 2);
    put(fmt, std::uint32_t(f.channels), 2);
    put(fmt, std::uint32_t(f.rate), 4);
    put(fmt, std::uint32_t(f.rate * f.channels * f.bits / 8), 4);
    put(fmt, std::uint32_t(f.channels * f.bits / 8), 2);
    put(fmt, std::uint32_t(f.bits), 2);
    if (extensible) {
        put(fmt, 22, 2);
        put(fmt, std::uint32_t(f.bits), 2);
        put(fmt, 0, 4);
        put(fmt, std::uint32_t(f.tag), 2);
        fmt.append(14, '\0');
    }
    QByteArray out("RIFF");
    put(out, 0, 4);
    out += "WAVEfmt ";
    put(out, std::uint32_t(fmt.size()), 4);
    out += fmt;
    out += "LIST";
    put(out, 3, 4);
    out += "abc";
    out += '\0';  // odd chunks are padded
    out += "data";
    put(out, std::uint32_t(audio.size()), 4);
    out += audio.left(audio.size() - cutBytes);
    return out;
}

}  // namespace

TEST(WavAudio, ReadsCommonFormatsAsSixteenKilohertzMono)
{
    struct Case {
        Format format;
        bool extensible;
        int cutBytes;
        std::size_t samples;
    };
    const Case cases[] = {
        {{1, 1, 16000, 16}, false, 0, 1600},   {{1, 2, 48000, 16}, false, 0, 1600},
        {{1, 1, 8000, 8}, false, 0, 1600},     {{1, 2, 44100, 24}, true, 0, 1600},
        {{1, 1, 16000, 32}, false, 0, 1600},   {{3, 1, 22050, 32}, false, 0, 1600},
        {{1, 1, 16000, 16}, false, 801, 1199},  // cut short inside a sample: the whole ones stay
    };
    for (const Case& c : cases) {
        const int frames = int(c.format.rate / 10);  // a tenth of a second
        QString reason;
        const auto audio = decodeWav(wav(c.format, frames, c.extensible, c.cutBytes), &reason);
        ASSERT_TRUE(audio) << reason.toStdString();
        EXPECT_NEAR(double(audio->size()), double(c.samples), 1) << c.format.rate << " " << c.format.bits;
        // The tone survives: its peak is about half scale, whatever the format.
        int peak = 0;
        for (auto s : *audio)
            peak = std::max(peak, std::abs(int(s)));
        EXPECT_NEAR(peak, 16384, 700) << c.format.rate << " " << c.format.bits;
    }
}

TEST(WavAudio, RefusesWhatItCannotRead)
{
    QByteArray noFormat("RIFF\0\0\0\0WAVEdata\2\0\0\0\1\0", 22);
    const QByteArray refused[] = {
        QByteArray(),
        QByteArray("RIFX\0\0\0\0WAVE", 12),
        noFormat,
        wav({2, 1, 16000, 16}, 100),  // ADPCM
        wav({1, 1, 4000, 16}, 100),   // too slow a rate
        wav({1, 0, 16000, 16}, 100),  // no channels
        wav({1, 1, 16000, 12}, 100),  // 12 bits
        wav({1, 1, 16000, 16}, 0),    // no audio
    };
    for (const QByteArray& bytes : refused) {
        QString reason;
        EXPECT_FALSE(decodeWav(bytes, &reason)) << bytes.size();
        EXPECT_FALSE(reason.isEmpty());
    }
}
