// Any bytes as a WAV file: decoding never crashes, gives a reason when it refuses, and never gives
// more samples than the bytes can hold (one 8-bit sample at 8 kHz makes two at 16 kHz).
#include "session/wavaudio.h"

#include <cstddef>
#include <cstdint>

namespace {

void check(bool holds)
{
    if (!holds)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QString reason;
    const auto audio = velloran::session::decodeWav(
        QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), &reason);
    if (!audio) {
        check(!reason.isEmpty());
        return 0;
    }
    check(!audio->empty() && audio->size() <= 2 * size + 1);
    return 0;
}
