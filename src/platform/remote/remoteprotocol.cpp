#include "platform/remote/remoteprotocol.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

#include <array>
#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace velloran::platform::remote {

namespace {

enum class Argument { None, Direction, Step, Fraction, MarkerTo, Switch };

struct VerbRow {
    QLatin1StringView name;
    Verb verb;
    Argument argument;
    QLatin1StringView field;  // the argument's name on the wire
};

// One row per command: its name, and the one argument it takes.
constexpr std::array<VerbRow, 14> kVerbs {{
    {"play"_L1, Verb::Play, Argument::None, {}},
    {"pause"_L1, Verb::Pause, Argument::None, {}},
    {"toggle"_L1, Verb::Toggle, Argument::None, {}},
    {"nudge"_L1, Verb::Nudge, Argument::Direction, "dir"_L1},
    {"speed"_L1, Verb::Speed, Argument::Step, "step"_L1},
    {"frequency"_L1, Verb::Frequency, Argument::Step, "step"_L1},
    {"font"_L1, Verb::Font, Argument::Step, "step"_L1},
    {"home"_L1, Verb::Home, Argument::None, {}},
    {"goto"_L1, Verb::Goto, Argument::Fraction, "fraction"_L1},
    {"marker"_L1, Verb::Marker, Argument::MarkerTo, "to"_L1},
    {"fullscreen"_L1, Verb::FullScreen, Argument::Switch, "on"_L1},
    {"panel"_L1, Verb::Panel, Argument::Switch, "shown"_L1},
    {"mirror"_L1, Verb::Mirror, Argument::Switch, "on"_L1},
    {"cue"_L1, Verb::Cue, Argument::Switch, "on"_L1},
}};

const VerbRow& rowOf(Verb verb)
{
    for (const VerbRow& row : kVerbs) {
        if (row.verb == verb)
            return row;
    }
    Q_UNREACHABLE();
}

ParseError refuse(Refusal refusal, QString field = {})
{
    return ParseError {refusal, std::move(field)};
}

// Reads the argument into the command; an error when it has the wrong type or value.
std::optional<ParseError> readArgument(const VerbRow& row, const QJsonValue& value, Command& command)
{
    const QString field = row.field;
    switch (row.argument) {
    case Argument::None: return std::nullopt;
    case Argument::Direction:
        if (!value.isString())
            return refuse(Refusal::WrongType, field);
        if (value.toString() != "up"_L1 && value.toString() != "down"_L1)
            return refuse(Refusal::OutOfRange, field);
        command.step = value.toString() == "up"_L1 ? 1 : -1;
        return std::nullopt;
    case Argument::Step:
        if (!value.isDouble())
            return refuse(Refusal::WrongType, field);
        if (value.toDouble() != 1.0 && value.toDouble() != -1.0)
            return refuse(Refusal::OutOfRange, field);
        command.step = int(value.toDouble());
        return std::nullopt;
    case Argument::Fraction: {
        if (!value.isDouble())
            return refuse(Refusal::WrongType, field);
        const double fraction = value.toDouble();
        if (!(fraction >= 0.0 && fraction <= 1.0))
            return refuse(Refusal::OutOfRange, field);
        command.fraction = fraction;
        return std::nullopt;
    }
    case Argument::MarkerTo:
        if (value.isString()) {
            if (value.toString() != "next"_L1 && value.toString() != "prev"_L1)
                return refuse(Refusal::OutOfRange, field);
            command.step = value.toString() == "next"_L1 ? 1 : -1;
            return std::nullopt;
        }
        if (!value.isDouble())
            return refuse(Refusal::WrongType, field);
        if (const double n = value.toDouble(); n < 1.0 || n > kMaxMarker || n != std::floor(n))
            return refuse(Refusal::OutOfRange, field);
        command.marker = int(value.toDouble());
        return std::nullopt;
    case Argument::Switch:
        if (!value.isBool())
            return refuse(Refusal::WrongType, field);
        command.on = value.toBool();
        return std::nullopt;
    }
    Q_UNREACHABLE();
}

// Letters, digits, punctuation and spaces; control characters become nothing, a tab a space.
QString cleanReading(const QString& line)
{
    QString out;
    out.reserve(qMin(line.size(), kMaxReadingChars));
    qsizetype characters = 0;
    for (qsizetype i = 0; i < line.size() && characters < kMaxReadingChars; ++i) {
        const QChar c = line.at(i);
        if (c.isHighSurrogate()) {
            if (i + 1 < line.size() && line.at(i + 1).isLowSurrogate()) {
                out += c;
                out += line.at(++i);
                ++characters;
            }
            continue;
        }
        if (c.isLowSurrogate())
            continue;
        if (c == u'\t') {
            out += u' ';
            ++characters;
        } else if (c.category() != QChar::Other_Control && c.category() != QChar::Other_Format) {
            out += c;
            ++characters;
        }
    }
    return out;
}

QByteArray compact(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

}  // namespace

ParseResult parseCommand(QByteArrayView message)
{
    if (message.size() > kMaxMessageBytes)
        return refuse(Refusal::TooLong);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(message.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return refuse(Refusal::Malformed);
    const QJsonObject object = document.object();

    const QJsonValue version = object.value("v"_L1);
    if (!version.isDouble() || version.toDouble() != kProtocolVersion)
        return refuse(Refusal::BadVersion, u"v"_s);
    const QJsonValue name = object.value("cmd"_L1);
    if (name.isUndefined())
        return refuse(Refusal::MissingField, u"cmd"_s);
    if (!name.isString())
        return refuse(Refusal::WrongType, u"cmd"_s);
    const VerbRow* row = nullptr;
    for (const VerbRow& candidate : kVerbs) {
        if (name.toString() == candidate.name)
            row = &candidate;
    }
    if (!row)
        return refuse(Refusal::UnknownCommand, u"cmd"_s);

    for (auto it = object.begin(); it != object.end(); ++it) {
        if (it.key() != "v"_L1 && it.key() != "cmd"_L1 &&
            (row->argument == Argument::None || it.key() != row->field))
            return refuse(Refusal::UnknownField, it.key());
    }
    Command command;
    command.verb = row->verb;
    if (row->argument != Argument::None && !object.contains(row->field))
        return refuse(Refusal::MissingField, row->field);
    if (auto wrong = readArgument(*row, object.value(row->field), command))
        return *wrong;
    return command;
}

QString errorText(Refusal refusal)
{
    switch (refusal) {
    case Refusal::TooLong: return u"too long"_s;
    case Refusal::NotText: return u"not text"_s;
    case Refusal::Malformed: return u"malformed"_s;
    case Refusal::BadVersion: return u"bad version"_s;
    case Refusal::UnknownCommand: return u"unknown command"_s;
    case Refusal::UnknownField: return u"unknown field"_s;
    case Refusal::MissingField: return u"missing field"_s;
    case Refusal::WrongType: return u"wrong type"_s;
    case Refusal::OutOfRange: return u"out of range"_s;
    }
    Q_UNREACHABLE();
}

QByteArray formatCommand(const Command& command)
{
    const VerbRow& row = rowOf(command.verb);
    QJsonObject object {{"v"_L1, kProtocolVersion}, {"cmd"_L1, QString(row.name)}};
    switch (row.argument) {
    case Argument::None: break;
    case Argument::Direction: object.insert(row.field, command.step > 0 ? u"up"_s : u"down"_s); break;
    case Argument::Step: object.insert(row.field, command.step); break;
    case Argument::Fraction: object.insert(row.field, command.fraction); break;
    case Argument::MarkerTo:
        if (command.marker > 0)
            object.insert(row.field, command.marker);
        else
            object.insert(row.field, command.step > 0 ? u"next"_s : u"prev"_s);
        break;
    case Argument::Switch: object.insert(row.field, command.on); break;
    }
    return compact(object);
}

QByteArray formatOk()
{
    return compact({{"v"_L1, kProtocolVersion}, {"ok"_L1, true}});
}

QByteArray formatError(const QString& error, const QString& field)
{
    QJsonObject object {{"v"_L1, kProtocolVersion}, {"ok"_L1, false}, {"error"_L1, error}};
    if (!field.isEmpty())
        object.insert("field"_L1, field);
    return compact(object);
}

QByteArray formatState(const State& state)
{
    const double fraction = state.fraction >= 0.0 ? qMin(state.fraction, 1.0) : 0.0;
    const double position = std::isfinite(state.position) ? state.position : 0.0;
    return compact({
        {"v"_L1, kProtocolVersion},
        {"event"_L1, u"state"_s},
        {"playing"_L1, state.playing},
        {"position"_L1, position},
        {"fraction"_L1, fraction},
        {"line"_L1, state.line},
        {"speed"_L1, state.speed},
        {"frequency"_L1, state.frequency},
        {"font"_L1, state.font},
        {"runSeconds"_L1, state.runSeconds},
        {"window"_L1, state.window == WindowShown::Full ? u"full"_s : u"main"_s},
        {"panel"_L1, state.panel},
        {"mirror"_L1, state.mirror},
        {"cue"_L1, state.cue},
        {"reading"_L1, cleanReading(state.reading)},
    });
}

}  // namespace velloran::platform::remote
