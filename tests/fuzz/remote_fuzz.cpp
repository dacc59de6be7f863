// Any bytes as a remote control message: read as a command or refused, never a crash. A command
// read holds only values the program can act on, and written back it reads the same; every reply
// and state event the service would send is JSON of the protocol's version.
#include "platform/remote/remoteprotocol.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstddef>
#include <cstdint>

using namespace velloran::platform::remote;

namespace {

void check(bool holds)
{
    if (!holds)
        __builtin_trap();
}

bool inRange(const Command& command)
{
    const bool stepOne = command.step == 1 || command.step == -1;
    switch (command.verb) {
    case Verb::Nudge:
    case Verb::Speed:
    case Verb::Frequency:
    case Verb::Font: return stepOne && command.marker == 0;
    case Verb::Goto: return command.fraction >= 0.0 && command.fraction <= 1.0;
    case Verb::Marker:
        return command.marker == 0 ? stepOne : command.marker >= 1 && command.marker <= kMaxMarker;
    default: return command.step == 0 && command.marker == 0 && command.fraction == 0.0;
    }
}

bool versioned(const QByteArray& reply)
{
    const QJsonDocument document = QJsonDocument::fromJson(reply);
    return document.isObject() && document.object().value(QLatin1StringView("v")).toInt() == kProtocolVersion;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const ParseResult result = parseCommand(bytes);
    if (const auto* error = std::get_if<ParseError>(&result)) {
        check(!errorText(error->refusal).isEmpty());
        check(versioned(formatError(*error)));
    } else {
        const Command& command = std::get<Command>(result);
        check(size <= std::size_t(kMaxMessageBytes));
        check(inRange(command));
        check(parseCommand(formatCommand(command)) == result);
    }
    // The same bytes as the line being read: the event stays JSON and carries no more than a line.
    State state;
    state.reading = QString::fromUtf8(bytes);
    const QJsonObject event = QJsonDocument::fromJson(formatState(state)).object();
    check(event.value(QLatin1StringView("v")).toInt() == kProtocolVersion);
    check(event.value(QLatin1StringView("reading")).toString().size() <= 2 * kMaxReadingChars);
    return 0;
}
