#pragma once

#include <cstdint>
#include <vector>

namespace velloran::engine {

// Tells the first press of a key from the repeats of the same key held down, however the
// platform reports a held key: repeats flagged as such, further presses with no release between
// them, or a release and a press at the same moment (X11 reports a repeat so, and leaves the
// repeat flag off when the two do not reach the program together).
class HeldKeys {
public:
    // `time` in milliseconds of the platform's event clock; 0 when it gives none, which turns
    // the two rules that need a clock off.
    bool press(int key, bool autoRepeat, std::uint64_t time);  // true: a new press, not a repeat
    void release(int key, bool autoRepeat, std::uint64_t time);

    // A release and a press this close together are one repeat; no hand lifts a key and
    // presses it again so fast.
    static constexpr std::uint64_t kRepeatPairMs = 10;
    // A key held for longer than this with nothing heard of it lost its release on the way (to
    // another window, say): its next press is new.
    static constexpr std::uint64_t kLostReleaseMs = 1000;

private:
    struct Key {
        int code;
        bool down = false;
        std::uint64_t last = 0;        // time of its last press or release
        std::uint64_t releasedAt = 0;  // time of its last real release
    };
    Key& find(int key);

    std::vector<Key> m_keys;
};

}  // namespace velloran::engine
