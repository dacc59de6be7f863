#include "recordingtarget.h"
#include "session/settingsapply.h"
#include "session/textcodec.h"
#include "session/textlimit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using namespace velloran::session;
using namespace velloran::testing;
using namespace Qt::StringLiterals;

namespace {

// What the next start sees after the record was written: file bytes decoded, read and applied.
RecordingTarget restore(const QByteArray& file, int* applied = nullptr)
{
    RecordingTarget target;
    const auto fields = readFields(decodeText(file));
    const int count = fields ? applyFields(*fields, target) : -1;
    if (applied)
        *applied = count;
    return target;
}

void expectSame(const SettingsRecord& a, const SettingsRecord& b)
{
    EXPECT_EQ(a.speed, b.speed);
    EXPECT_EQ(a.frequency, b.frequency);
    EXPECT_EQ(a.fontSize, b.fontSize);
    EXPECT_EQ(a.position, b.position);
    EXPECT_EQ(a.backupPath, b.backupPath);
    EXPECT_EQ(a.minutes, b.minutes);
    EXPECT_EQ(a.seconds, b.seconds);
    EXPECT_EQ(a.script, b.script);
}

// A target that takes the position in double precision, as the main window does.
class ExactTarget : public RecordingTarget {
public:
    bool applyExactPosition(double v) override
    {
        exact = v;
        return applyPosition(static_cast<float>(v));
    }
    double exact = 0;
};

TEST(RoundTrip, AFarExactPositionComesBackWholeAndStillReadsInSinglePrecision)
{
    const double places[] = {-123456789, -100000002.5, -16777217, -240005, 480, -123456.5};
    for (const double place : places) {
        SettingsRecord record;
        record.position = place;
        record.exactPosition = true;
        const QByteArray file = writeRecord(record);
        EXPECT_FALSE(file.contains('e')) << file.constData();
        ExactTarget exact;
        const auto fields = readFields(decodeText(file));
        ASSERT_TRUE(fields);
        EXPECT_EQ(applyFields(*fields, exact), 8);
        // Below a million twips the classic seven digits are written, as before.
        EXPECT_EQ(exact.exact, std::fabs(place) < 1e6 ? double(float(place)) : place) << place;
        int applied = 0;
        const RecordingTarget classic = restore(file, &applied);
        EXPECT_EQ(applied, 8);
        EXPECT_EQ(classic.record.position, double(float(place)));
    }
}

TEST(RoundTrip, EveryCharacterButTheQuoteComesBack)
{
    const QString scripts[] = {
        QString(),
        u"He said \"stop\", then \"go\"."_s,
        u"one, two,, three,\n\n\n   indented\n\tTabbed\n"_s,
        u"  leading blanks"_s,
        u"caf\u00E9 Stra\u00DFe \u03A9 \u65E5\u672C \U0001F600 \u20AC \u0081"_s,
        u"\n"_s,
        u"ends with comma,"_s,
        u"123"_s,  // a script that looks like a number still comes back as written
    };
    for (const QString& script : scripts) {
        SettingsRecord record {1999, 999, 12.5f, -229999.5f, u"/home/\u00E9/b, c.txt"_s, 61, 59, QString()};
        record.script = cleanText(script, u'"');
        int applied = 0;
        const RecordingTarget target = restore(writeRecord(record), &applied);
        EXPECT_EQ(applied, 8) << script.toStdString();
        expectSame(target.record, record);
    }
}

TEST(RoundTrip, FiftyMegabyteScript)
{
    const QString line = u"A long script line, with a comma and \u00E9 in it.\n"_s;
    QString script;
    script.reserve(50'000'000 + line.size());
    while (script.size() < 50'000'000)
        script += line;
    SettingsRecord record;
    record.script = script;
    const QByteArray file = writeRecord(record);
    ASSERT_GT(file.size(), 50'000'000);
    int applied = 0;
    const RecordingTarget target = restore(file, &applied);
    EXPECT_EQ(applied, 8);
    EXPECT_TRUE(target.record.script == script);  // no dump of 50 MB on failure
}

// The largest record the program can write, a script at the limit made of characters that take
// the most bytes and the longest backup path, is within what the start-up reads.
TEST(RoundTrip, TheLargestRecordWrittenIsRead)
{
    SettingsRecord record {-32768,
                           -32768,
                           -3.4e38f,
                           -3.4e38f,
                           QString(kMaxPathCharacters, QChar(0x65E5)),
                           std::numeric_limits<qint64>::max(),
                           -32768,
                           QString()};
    record.script = QString(kMaxScriptCharacters, QChar(0x672C));
    ASSERT_EQ(scriptCharacters(record.script), kMaxScriptCharacters);
    const QByteArray file = writeRecord(record);
    EXPECT_GT(file.size(), 3 * kMaxScriptCharacters);
    EXPECT_LE(file.size(), kMaxRecordBytes);
    record.script = QString(kMaxScriptCharacters / 2, u'\n');  // each break is two characters, two bytes
    ASSERT_EQ(scriptCharacters(record.script), kMaxScriptCharacters);
    EXPECT_LE(writeRecord(record).size(), kMaxRecordBytes);
}

// Damaged files must never crash the reader, and the target must see fields 1..n in order.
TEST(RoundTrip, DamagedFilesApplyInOrderOrNotAtAll)
{
    std::mt19937 random(20240611);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const char pieces[] = {',', '"', '\r', '\n', ' ', '-', '.', '0', '5', '9', 'x', '\xC3', '\xE9', '\xFF'};

    int fullyApplied = 0;
    for (int round = 0; round < 4000; ++round) {
        SettingsRecord record {static_cast<qint16>(pick(-50, 2500)),
                               static_cast<qint16>(pick(-5, 1200)),
                               pick(1, 4000) / 4.0f,
                               static_cast<float>(pick(-240000, 4800)),
                               u"C:\\b.txt"_s,
                               pick(0, 100000),
                               static_cast<qint16>(pick(0, 59)),
                               QString()};
        for (int i = pick(0, 40); i > 0; --i)
            record.script += QChar(static_cast<char16_t>(pick(0, 3) == 0 ? u'\n' : pick(32, 0x3000)));
        QByteArray file = writeRecord(record);

        switch (round % 4) {
        case 0:  // random bytes
            file.resize(pick(0, 200));
            for (char& c : file)
                c = static_cast<char>(pick(0, 255));
            break;
        case 1:  // cut short
            file.truncate(pick(0, static_cast<int>(file.size())));
            break;
        default:  // a few bytes replaced, inserted or removed
            for (int i = pick(1, 4); i > 0 && !file.isEmpty(); --i) {
                const int at = pick(0, static_cast<int>(file.size()) - 1);
                const char piece = pieces[pick(0, sizeof pieces - 1)];
                switch (pick(0, 2)) {
                case 0: file[at] = piece; break;
                case 1: file.insert(at, piece); break;
                default: file.remove(at, 1); break;
                }
            }
        }

        int applied = 0;
        const RecordingTarget target = restore(file, &applied);
        if (applied < 0) {
            EXPECT_TRUE(target.calls.empty());
            continue;
        }
        for (std::size_t i = 0; i < target.calls.size(); ++i)
            ASSERT_EQ(target.calls[i], static_cast<int>(i) + 1) << "round " << round;
        EXPECT_EQ(applied, target.accepted) << "round " << round;
        // Every offered field before the last was accepted; the last may have been rejected.
        EXPECT_TRUE(target.calls.size() == std::size_t(applied) ||
                    target.calls.size() == std::size_t(applied) + 1);
        fullyApplied += applied == 8;
    }
    EXPECT_GT(fullyApplied, 0);  // the mutations leave some records whole, so the check is not vacuous
}

}  // namespace
