#include "engine/heldkeys.h"

#include <algorithm>

namespace velloran::engine {

HeldKeys::Key& HeldKeys::find(int key)
{
    const auto known =
        std::find_if(m_keys.begin(), m_keys.end(), [key](const Key& k) { return k.code == key; });
    if (known != m_keys.end())
        return *known;
    m_keys.push_back(Key {key});
    return m_keys.back();
}

bool HeldKeys::press(int key, bool autoRepeat, std::uint64_t time)
{
    Key& k = find(key);
    const bool timed = time != 0 && k.last != 0;
    bool repeat = autoRepeat;
    if (k.down)
        repeat = repeat || !timed || time - k.last <= kLostReleaseMs;
    else if (timed && k.releasedAt != 0)
        repeat = repeat || time - k.releasedAt <= kRepeatPairMs;
    k.down = true;
    k.last = time;
    return !repeat;
}

void HeldKeys::release(int key, bool autoRepeat, std::uint64_t time)
{
    Key& k = find(key);
    k.last = time;
    // A release flagged as a repeat's belongs to a key still held.
    if (autoRepeat)
        return;
    k.down = false;
    k.releasedAt = time;
}

}  // namespace velloran::engine
