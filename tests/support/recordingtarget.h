#pragma once

#include "session/settingsapply.h"

#include <vector>

namespace velloran::testing {

// A target with the main window's ranges that records what reaches it, in call order.
class RecordingTarget : public session::SettingsTarget {
public:
    bool applySpeed(qint16 v) override
    {
        return take(1, v >= 10 && v <= 2000, [&] { record.speed = v; });
    }
    bool applyFrequency(qint16 v) override
    {
        return take(2, v >= 2 && v <= 1000, [&] { record.frequency = v; });
    }
    bool applyFontSize(float v) override
    {
        return take(3, v >= 1 && v <= 2000, [&] { record.fontSize = v; });
    }
    bool applyPosition(float v) override
    {
        return take(4, true, [&] { record.position = v; });
    }
    bool applyBackupPath(const QString& v) override
    {
        return take(5, true, [&] { record.backupPath = v; });
    }
    bool applyMinutes(qint64 v) override
    {
        return take(6, true, [&] { record.minutes = v; });
    }
    bool applySeconds(qint16 v) override
    {
        return take(7, true, [&] { record.seconds = v; });
    }
    bool applyScript(const QString& v) override
    {
        return take(8, true, [&] { record.script = v; });
    }

    session::SettingsRecord record;   // starts at the design values; holds what was accepted
    std::vector<int> calls;  // field numbers offered, accepted or not
    int accepted = 0;

private:
    template <typename Store> bool take(int field, bool ok, Store store)
    {
        if (checkOnly())
            return ok;
        calls.push_back(field);
        if (ok) {
            store();
            ++accepted;
        }
        return ok;
    }
};

}  // namespace velloran::testing
