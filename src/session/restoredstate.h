#pragma once

#include "session/settingsapply.h"
#include "session/settingsrecord.h"

namespace velloran::session {

// The state start-up restores, each field checked as the main window's control would check it
// (the spinners' ranges, the font sizes the text box takes, a place on the surface, a path
// Settings.ini can hold). The fields not restored keep their design values.
class RestoredState final : public SettingsTarget {
public:
    bool applySpeed(qint16 value) override;
    bool applyFrequency(qint16 value) override;
    bool applyFontSize(float size) override;
    bool applyPosition(float position) override;
    bool applyExactPosition(double position) override;
    bool applyBackupPath(const QString& path) override;
    bool applyMinutes(qint64 minutes) override;
    bool applySeconds(qint16 seconds) override;
    bool applyScript(const QString& script) override;

    SettingsRecord record;
    int applied = 0;  // the fields restored, in file order; 8 = all
};

}  // namespace velloran::session
