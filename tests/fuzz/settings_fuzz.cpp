// Any bytes as Settings.ini: decoded, read as fields and applied must never crash, must apply the
// fields 1..n in order, and a record restored whole must come back the same once written again:
// every character of its texts, its whole numbers, and its record bytes.
#include "recordingtarget.h"
#include "session/settingsapply.h"
#include "session/textcodec.h"

#include <cstddef>
#include <cstdint>

using namespace velloran::session;
using velloran::testing::RecordingTarget;

namespace {

void check(bool holds)
{
    if (!holds)
        __builtin_trap();
}

// The two single-precision fields are written with seven significant digits, so they may move by
// less than a unit in the seventh digit once; the record is then stable.
bool same(const SettingsRecord& a, const SettingsRecord& b)
{
    return a.speed == b.speed && a.frequency == b.frequency && a.backupPath == b.backupPath &&
           a.minutes == b.minutes && a.seconds == b.seconds && a.script == b.script &&
           writeRecord(a) == writeRecord(b);
}

RecordingTarget restore(const QByteArray& bytes, int& applied)
{
    RecordingTarget target;
    const auto fields = readFields(decodeText(bytes));
    applied = fields ? applyFields(*fields, target) : -1;
    return target;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    int applied = 0;
    const RecordingTarget first =
        restore(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), applied);
    if (applied < 0) {
        check(first.calls.empty());
        return 0;
    }
    for (std::size_t i = 0; i < first.calls.size(); ++i)
        check(first.calls[i] == int(i) + 1);
    check(applied == first.accepted);
    check(first.calls.size() == std::size_t(applied) || first.calls.size() == std::size_t(applied) + 1);
    check(first.record.seconds >= 0 && first.record.seconds <= 59 && first.record.minutes >= 0);
    if (applied < 8)
        return 0;

    // What the program writes from a whole restore, it reads back whole and unchanged, but for
    // the double quotes the format has no room for (an unquoted text field can hold them): the
    // path's are dropped, the script's become typographic.
    SettingsRecord expected = first.record;
    expected.backupPath = cleanText(expected.backupPath, u'"');
    expected.script = typographicQuotes(expected.script);
    int again = 0;
    const RecordingTarget second = restore(writeRecord(first.record), again);
    check(again == 8);
    check(same(second.record, expected));
    return 0;
}
