#pragma once

#include <QString>

namespace velloran::session {

// Options beyond the classic behaviour, kept in Preferences.ini beside Settings.ini. A missing
// file, a missing key or a value that cannot be read means the default, and the defaults are the
// classic behaviour.
struct Preferences {
    // Which screen the full-screen window covers: the primary one, the one the main window is on,
    // or a screen by the name the platform gives it.
    enum class ScreenChoice { Primary, MainWindow, Named };

    bool mirror = false;  // full-screen script drawn mirrored left to right, for beam-splitter glass
    bool flip = false;    // and upside down, for rigs that fold the image twice
    ScreenChoice screen = ScreenChoice::Primary;
    QString screenName;  // with ScreenChoice::Named
    bool cue = false;    // a reading cue at the left edge, a third of the screen down
    // A presentation remote's keys in the full-screen window. Off by default: it takes keys that
    // otherwise type into the script (B, full stop) or move its text cursor (Page Up, Page Down).
    bool remote = false;
    bool wholeScriptReachable = false;  // the scroll range follows the script's length
    // Timing aids for a presenter.
    int countdown = 0;       // whole seconds counted over the reading band before a start, 0 to 10
    bool timeLeft = false;   // the time the rest of the script takes, and the clock in full screen
    bool markers = false;    // lines starting with '#' are ticks on the bar, reached with Alt+keys
    bool paceKeys = false;   // Alt+Up and Alt+Down click the frequency spinner's arrows

    // Following the reader's voice: a microphone is opened and a speech model read only while on.
    struct Voice {
        bool follow = false;
        QString device;         // the input device's description; empty: the system's default
        QString model;          // a pocketsphinx acoustic model folder; empty: Debian's en-us model
        QString dictionary;     // a pronouncing dictionary; empty: Debian's cmudict-en-us.dict
        bool markWord = false;  // the word last heard marked faintly in the script

        bool operator==(const Voice&) const = default;
    };
    Voice voice;

    bool operator==(const Preferences&) const = default;
};

QString preferencesPath(const QString& folder);  // folder + "/Preferences.ini"

// Reads the file; anything missing or unreadable keeps its default.
Preferences loadPreferences(const QString& path);

// Writes every key, replacing the file whole; false when it could not be written.
bool savePreferences(const QString& path, const Preferences& preferences);

}  // namespace velloran::session
