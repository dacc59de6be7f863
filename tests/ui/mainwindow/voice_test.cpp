// Following the reader's voice in the main window: nothing of it until asked for, a clear notice
// when it cannot start, and, while it follows, the tick bringing the word heard to the reading
// height, with the user's own moves winning at once.
#include <QDir>
#include <QSignalSpy>
#include <QTextCursor>
#include <QThread>

#include "harness.h"
#include "platform/voicefollower.h"
#include "session/preferences.h"
#include "testclasses.h"
#include "ui/pane/voicecontrol.h"
#include "ui/pane/voiceindicator.h"

using velloran::platform::VoicePlace;
using velloran::platform::VoiceState;

namespace {

const QString kModel = u"/usr/share/pocketsphinx/model/en-us/en-us"_s;
constexpr int kLoadMs = 30000;  // the speech model loads on its thread; slow under the sanitizers

// A WAV file of silence: 16 kHz, mono, 16-bit.
QByteArray silence(int seconds)
{
    const quint32 data = quint32(seconds) * 16000 * 2;
    QByteArray wav;
    const auto u32 = [&wav](quint32 v) { wav.append(reinterpret_cast<const char*>(&v), 4); };
    const auto u16 = [&wav](quint16 v) { wav.append(reinterpret_cast<const char*>(&v), 2); };
    wav.append("RIFF");
    u32(36 + data);
    wav.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(16000);
    u32(32000);
    u16(2);
    u16(16);
    wav.append("data");
    u32(data);
    wav.append(QByteArray(int(data), '\0'));
    return wav;
}

velloran::ui::VoiceIndicator* mark(const Harness& h)
{
    return h.child<velloran::ui::VoiceIndicator>("VoiceMark");
}

velloran::ui::VoiceControl& voiceOf(const Harness& h)
{
    return velloran::ui::VoiceControl::of(*h.session);
}

}  // namespace

class VoiceTest : public QObject {
    Q_OBJECT

private slots:
    // Off by default and with Follow=false: no follower exists, so no thread, device or model,
    // and the tick steps by the frequency.
    void nothingUntilAskedFor_data()
    {
        QTest::addColumn<QByteArray>("preferences");
        QTest::newRow("no Preferences.ini") << QByteArray();
        QTest::newRow("Follow=false") << QByteArray("[Voice]\nFollow=false\nDevice=x\n");
    }
    void nothingUntilAskedFor()
    {
        QFETCH(QByteArray, preferences);
        Harness h;
        if (!preferences.isEmpty())
            h.writePreferences(preferences);
        QVERIFY(h.start());
        QVERIFY(!voiceOf(h).follower());
        QVERIFY(!mark(h)->isVisible());
        h.key(Qt::Key_P, Qt::AltModifier);
        QVERIFY(h.expire("tScroll"));
        QCOMPARE(h.position(), 470.0f);
    }

    // Alt+V with what following needs missing: the notice says what, following stays off, the
    // tick is the classic one, and the choice is kept.
    void refusals_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("told");
        QTest::addColumn<QString>("shown");
        QTest::newRow("no speech model")
            << u"/nowhere/en-us"_s << QString() << u"pocketsphinx-en-us"_s << QString();
        QTest::newRow("audio file missing") << kModel << u"/nowhere/reading.wav"_s
                                            << u"/nowhere/reading.wav cannot be read"_s << u"no microphone"_s;
    }
    void refusals()
    {
        QFETCH(QString, model);
        QFETCH(QString, input);
        QFETCH(QString, told);
        QFETCH(QString, shown);
        if (!QDir(model).exists() && model == kModel)
            QSKIP("pocketsphinx-en-us is not installed");
        Harness h;
        h.writePreferences("[Voice]\nModel=" + model.toUtf8() + "\n");
        QVERIFY(h.start());
        voiceOf(h).setInputFile(input);
        h.key(Qt::Key_V, Qt::AltModifier);
        QTRY_VERIFY_WITH_TIMEOUT(h.notice().contains(told), kLoadMs);
        QTRY_VERIFY(!voiceOf(h).follower()->isRunning());
        QVERIFY(!voiceOf(h).following());
        QCOMPARE(mark(h)->isVisible(), !shown.isEmpty());
        QCOMPARE(mark(h)->text(), shown);
        QVERIFY(velloran::session::loadPreferences(h.session->preferencesFile()).voice.follow);
        h.key(Qt::Key_P, Qt::AltModifier);
        QVERIFY(h.expire("tScroll"));
        QCOMPARE(h.position(), 470.0f);
    }

    // While following and playing, the tick glides the word heard (marked, with MarkWord) to the
    // reading height without overshooting; a nudge wins at once, and the script then waits until
    // the reader speaks from the line the nudge left at the reading height.
    void tickFollowsThePlaceHeard()
    {
        if (!QDir(kModel).exists())
            QSKIP("pocketsphinx-en-us is not installed");
        Harness h;
        QStringList lines;
        for (const char* line : {"the ship sailed at dawn", "and the crew sang loudly",
                                 "across the grey water", "until the harbour lights",
                                 "faded behind the hills", "then the wind rose", "and the rain came down"})
            lines << QString::fromLatin1(line);
        h.write(u"Settings.ini"_s, "2000,10,27.75,480,\"\",0,0,\"" + lines.join(u"\r\n").toUtf8() + "\"\r\n");
        h.write(u"reading.wav"_s, silence(60));
        h.writePreferences("[Voice]\nMarkWord=true\n");
        QVERIFY(h.start());
        velloran::ui::VoiceControl& voice = voiceOf(h);
        voice.setInputFile(h.path(u"reading.wav"_s));
        h.key(Qt::Key_V, Qt::AltModifier);
        QTRY_COMPARE_WITH_TIMEOUT(voice.follower()->state(), VoiceState::Listening, kLoadMs);
        QVERIFY(mark(h)->isVisible());
        h.key(Qt::Key_P, Qt::AltModifier);

        const QString script = h.tex()->toPlainText();
        const auto heard = [&](const QString& word, int index) {
            VoicePlace place;
            place.word = std::size_t(index);
            place.textOffset = int(script.indexOf(word));
            place.textLength = int(word.size());
            place.state = velloran::engine::FollowState::Following;
            emit voice.follower()->placeChanged(place);
        };
        const auto wordBottom = [&](const QString& word) {
            QTextCursor cursor(h.tex()->document());
            cursor.setPosition(int(script.indexOf(word) + word.size()));
            const QRect at = h.tex()->cursorRect(cursor);
            return h.tex()->viewport()->mapTo(h.window.get(), at.bottomLeft()).y();
        };
        const int readingHeight = h.px(495 + (5280 - 495) / 3.0);
        const int line = h.tex()->fontMetrics().lineSpacing();

        heard(u"hills"_s, 21);
        float before = h.position();
        for (int i = 0; i < 40; ++i) {
            QVERIFY(h.expire("tScroll"));
            QVERIFY2(h.position() <= before, "the script went back on its way to the place heard");
            before = h.position();
        }
        const QList<QTextEdit::ExtraSelection> marked = h.tex()->extraSelections();
        QCOMPARE(marked.size(), 1);
        QCOMPARE(marked.at(0).cursor.selectedText(), u"hills"_s);
        QVERIFY2(std::abs(wordBottom(u"hills"_s) - readingHeight) <= line / 4,
                 qPrintable(u"hills ends %1 px from the reading height"_s.arg(wordBottom(u"hills"_s) -
                                                                              readingHeight)));

        // A nudge up, and nothing follows it until the reader says a word at or after the line
        // now at the reading height.
        const float nudged = h.position() - 200;
        h.key(Qt::Key_Slash, Qt::AltModifier);
        QCOMPARE(h.position(), nudged);
        QCoreApplication::processEvents();
        heard(u"hills"_s, 21);
        for (int i = 0; i < 10; ++i)
            QVERIFY(h.expire("tScroll"));
        QCOMPARE(h.position(), nudged);
        heard(u"rain"_s, 30);
        for (int i = 0; i < 40; ++i)
            QVERIFY(h.expire("tScroll"));
        QVERIFY(std::abs(wordBottom(u"rain"_s) - readingHeight) <= line);

        // Paused, it listens but nothing moves; Alt+V again lets go of the microphone and model.
        h.key(Qt::Key_P, Qt::AltModifier);
        QVERIFY(!h.expire("tScroll"));
        h.key(Qt::Key_V, Qt::AltModifier);
        QVERIFY(!voice.follower()->isRunning());
        QVERIFY(!mark(h)->isVisible());
    }
};

VELLORAN_TEST_CLASS(VoiceTest);
#include "voice_test.moc"
