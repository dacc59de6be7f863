#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <variant>

// The remote control's wire format: small JSON text messages, each carrying the version "v" = 1.
// Qt Core only, so the fuzz project can build it on its own.
namespace velloran::platform::remote {

inline constexpr int kProtocolVersion = 1;
// Longer messages are refused unread.
inline constexpr qsizetype kMaxMessageBytes = 4096;
// The line being read is sent at most this long, so a script without line breaks stays private.
inline constexpr qsizetype kMaxReadingChars = 200;
inline constexpr int kMaxMarker = 9999;

enum class Verb {
    Play,
    Pause,
    Toggle,
    Nudge,       // step +1 up (the script advances), -1 down (back toward the start)
    Speed,       // step +1 / -1: one click on the speed spinner's arrow that raises / lowers it
    Frequency,   // likewise on the frequency spinner
    Font,        // step +1 / -1: one font size up / down
    Home,        // as the reset button
    Goto,        // fraction 0..1 of the way through the script
    Marker,      // marker >= 1, or 0 with step +1 (next) / -1 (previous)
    FullScreen,  // on
    Panel,       // on: the full-screen Control Panel shown
    Mirror,      // on
    Cue,         // on
};

struct Command {
    Verb verb = Verb::Play;
    int step = 0;
    double fraction = 0.0;
    int marker = 0;
    bool on = false;

    friend bool operator==(const Command&, const Command&) = default;
};

// Why a message was refused; each has a fixed text on the wire (see errorText).
enum class Refusal {
    TooLong,
    NotText,
    Malformed,
    BadVersion,
    UnknownCommand,
    UnknownField,
    MissingField,
    WrongType,
    OutOfRange,
};

struct ParseError {
    Refusal refusal = Refusal::Malformed;
    QString field;  // the field at fault, when there is one

    friend bool operator==(const ParseError&, const ParseError&) = default;
};

using ParseResult = std::variant<Command, ParseError>;

ParseResult parseCommand(QByteArrayView message);
QString errorText(Refusal refusal);
// The message a client sends for the command; parseCommand reads it back unchanged.
QByteArray formatCommand(const Command& command);

// {"v":1,"ok":true}, or {"v":1,"ok":false,"error":...,"field":...} (field only when not empty).
QByteArray formatOk();
QByteArray formatError(const QString& error, const QString& field = {});
inline QByteArray formatError(const ParseError& error)
{
    return formatError(errorText(error.refusal), error.field);
}

enum class WindowShown { Main, Full };

// What the application tells the service about the reading.
struct State {
    bool playing = false;
    double position = 0.0;  // twips
    double fraction = 0.0;  // 0..1 of the way through the script
    int line = 1;           // 1-based line at the reading height
    int speed = 0;
    int frequency = 0;
    int font = 0;  // points
    int runSeconds = 0;
    WindowShown window = WindowShown::Main;
    bool panel = false;
    bool mirror = false;
    bool cue = false;
    QString reading;  // the line at the reading height

    friend bool operator==(const State&, const State&) = default;
};

// {"v":1,"event":"state",...}: the fraction is held to 0..1, the reading line cut to
// kMaxReadingChars characters with its control characters dropped.
QByteArray formatState(const State& state);

}  // namespace velloran::platform::remote
