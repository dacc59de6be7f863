#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace velloran::session {

inline constexpr int kSpeechRate = 16000;  // samples a second, as speech recognisers take them

// The audio of a WAV file as speech recognition takes it: 16 kHz, mono, 16-bit. Reads PCM of 8,
// 16, 24 or 32 bits and 32-bit float, any number of channels (averaged) and rates from 8 to
// 192 kHz; a data chunk cut short keeps what is there. Nothing, with the reason, otherwise.
std::optional<std::vector<std::int16_t>> decodeWav(const QByteArray& bytes, QString* reason = nullptr);

// Interleaved 16-bit samples at any rate and channel count to 16 kHz mono: channels averaged,
// each output sample the mean of the input it spans (so lowering the rate does not alias much).
std::vector<std::int16_t> toSpeechAudio(const std::int16_t* samples, std::size_t frames, int channels,
                                        int rate);

}  // namespace velloran::session
