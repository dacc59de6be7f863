// Any script and any stream of heard words, partial or final, with moves and pauses between them:
// the aligner never crashes, and its place is always inside the script with a confidence in 0..1.
#include "engine/aligner.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace velloran::engine;

namespace {

void check(bool holds)
{
    if (!holds)
        __builtin_trap();
}

// A small vocabulary, so that scripts repeat words and streams match them often.
const char* const kWords[] = {"the",   "wind", "came", "from", "east",    "roof",   "leaked", "there",
                              "their", "two",  "to",   "too",  "minutes", "nobody", "read",   "red"};

struct Bytes {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    bool more() const { return at < size; }
    std::uint8_t next() { return at < size ? data[at++] : 0; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Bytes in {data, size};
    std::vector<AlignerWord> script(in.next() % 200);
    for (auto& word : script) {
        const std::uint8_t b = in.next();
        word.word = kWords[b % 16];
        word.hearable = (b & 0x80) == 0;
        word.sentenceStart = (b & 0x20) != 0;
        if (b & 0x40)
            word.sound = "S" + std::to_string(b % 5);
    }
    Aligner aligner;
    aligner.setScript(script, in.next());
    std::vector<HeardWord> utterance;
    double clock = 0;
    while (in.more()) {
        const std::uint8_t op = in.next();
        const std::uint8_t arg = in.next();
        switch (op % 8) {
        case 0: aligner.moveTo(arg); break;
        case 1:
            clock += arg / 10.0;
            aligner.idle(clock);
            break;
        case 2:
            aligner.hear(utterance, true);
            utterance.clear();
            break;
        case 3: utterance.clear(); break;
        default:
            clock += (arg % 8) / 10.0;
            utterance.push_back({arg & 0x80 ? std::string("zzz") : kWords[arg % 16], clock, clock,
                                 arg & 0x40 ? "S" + std::to_string(arg % 5) : std::string()});
            aligner.hear(utterance, op & 0x80);
            if (op & 0x80)
                utterance.clear();
        }
        const ReaderPlace& place = aligner.place();
        check(place.word < std::max<std::size_t>(script.size(), 1));
        check(place.confidence >= 0 && place.confidence <= 1);
    }
    return 0;
}
