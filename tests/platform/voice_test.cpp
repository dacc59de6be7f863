// Following a reader's voice below the windows: the dictionary, the pipeline around a fake
// recogniser, the follower's refusals, and the real recogniser on a short synthesised reading.
#include "platform/pocketsphinxrecognizer.h"
#include "platform/pronouncingdictionary.h"
#include "platform/voicefollower.h"
#include "platform/voicepipeline.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace velloran::platform;
using velloran::engine::HeardWord;

namespace {

QCoreApplication& application()
{
    static int argc = 1;
    static char name[] = "voice_test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

bool waitFor(const std::function<bool()>& done, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired())
        application().processEvents(QEventLoop::WaitForMoreEvents, 50);
    return done();
}

// Knows every ASCII word; hears what the test says it hears; remembers what it listened for.
struct FakeRecognizer : SpeechRecognizer {
    std::vector<std::vector<std::vector<std::string>>>* listened;
    std::vector<Hypothesis>* queued;
    double fed = 0;

    bool load(QString*) override { return true; }
    bool knows(const std::string& word) const override
    {
        return std::all_of(word.begin(), word.end(),
                           [](char c) { return (c >= 'a' && c <= 'z') || c == '\''; });
    }
    std::string sound(const std::string&) const override { return {}; }
    bool listenFor(const std::vector<std::vector<std::string>>& sentences, QString*) override
    {
        listened->push_back(sentences);
        return true;
    }
    std::vector<Hypothesis> feed(const std::int16_t*, std::size_t count) override
    {
        fed += double(count) / 16000;
        return std::exchange(*queued, {});
    }
    std::vector<Hypothesis> finish() override { return {}; }
    double streamTime() const override { return fed; }
};

// Distinct words of letters: "waa", "wab", ... for word 0, 1, ...
QString token(int i)
{
    return QStringLiteral("w%1%2").arg(QChar(u'a' + i / 26 % 26)).arg(QChar(u'a' + i % 26));
}

QString numbered(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += token(i) + QLatin1Char(' ');
    return text;
}

}  // namespace

TEST(PronouncingDictionary, ReadsEntriesWithTheirAlternatives)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("test.dict"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(";;; a comment\nread R IY D\nred R EH D\nread(2) R EH D\n  spaced\tS P EY S T  \r\nbroken\n");
    file.close();
    PronouncingDictionary dictionary;
    QString reason;
    ASSERT_TRUE(dictionary.load(path, &reason));
    EXPECT_EQ(dictionary.size(), 4u);
    EXPECT_EQ(dictionary.pronunciations("read"), (std::vector<std::string_view> {"R IY D", "R EH D"}));
    EXPECT_EQ(dictionary.pronunciations("spaced"), (std::vector<std::string_view> {"S P EY S T"}));
    EXPECT_TRUE(dictionary.contains("red"));
    EXPECT_FALSE(dictionary.contains("broken"));
    EXPECT_FALSE(dictionary.load(folder.filePath(QStringLiteral("none.dict")), &reason));
}

TEST(VoicePipeline, ListensAroundThePlaceAndKeepsToItsWordThroughEdits)
{
    std::vector<std::vector<std::vector<std::string>>> listened;
    std::vector<Hypothesis> queued;
    auto fake = std::make_unique<FakeRecognizer>();
    fake->listened = &listened;
    fake->queued = &queued;
    VoicePipeline pipeline(std::move(fake));
    QString message;
    const QString script = numbered(600);
    ASSERT_TRUE(pipeline.setScript(script, &message));
    ASSERT_EQ(listened.size(), 1u);
    EXPECT_EQ(listened.back().front().front(), "waa");
    EXPECT_EQ(listened.back().front().size(), 300u);  // the next few hundred words

    // The user moves the script far on: the recogniser now listens a few dozen words back.
    pipeline.moveTo(int(script.indexOf(token(324))));
    EXPECT_EQ(pipeline.place().word, 324u);
    ASSERT_EQ(listened.size(), 2u);
    EXPECT_EQ(listened.back().front().front(), pipeline.words()[324 - 40].word);

    // The reader reads on: the place follows and the text offsets come with it.
    const std::int16_t silence[160] = {};
    for (int i = 324; i < 330; ++i)
        queued.push_back({{{pipeline.words()[std::size_t(i)].word, 0, 0, {}}}, true});
    queued.push_back({{}, true});
    EXPECT_TRUE(pipeline.feed(silence, 160));
    EXPECT_EQ(pipeline.place().word, 329u);
    EXPECT_EQ(pipeline.place().textOffset, script.indexOf(token(329)));

    // Words typed above the place, then below it: the place stays on its word.
    ASSERT_TRUE(pipeline.setScript(QStringLiteral("Added words at the top. ") + script, &message));
    EXPECT_EQ(pipeline.words()[pipeline.place().word].word, token(329).toStdString());
    ASSERT_TRUE(pipeline.setScript(
        QStringLiteral("Added words at the top. ") + script + QStringLiteral("end"), &message));
    EXPECT_EQ(pipeline.words()[pipeline.place().word].word, token(329).toStdString());

    // A script the recogniser mostly cannot hear is refused with a reason.
    EXPECT_FALSE(pipeline.setScript(QStringLiteral("Гладь озера в тиши лесной, один и два."), &message));
    EXPECT_TRUE(message.contains(QStringLiteral("English")));
}

TEST(VoiceFollower, RefusesToStartWithoutWhatItNeeds)
{
    application();
    QTemporaryDir folder;
    const QString english = QStringLiteral("The committee met on a grey morning in early spring.");
    const QString german = QStringLiteral("Der Ausschuss tagte an einem grauen Morgen im Fr\u00fchling.");
    const QString missing = folder.filePath(QStringLiteral("missing"));
    // Debian's model with one of its files cut short: pocketsphinx refuses it.
    const QString broken = folder.filePath(QStringLiteral("broken"));
    QDir().mkpath(broken);
    for (const QString& name : QDir(defaultSpeechModel()).entryList(QDir::Files))
        QFile::copy(QDir(defaultSpeechModel()).filePath(name), QDir(broken).filePath(name));
    QFile::resize(QDir(broken).filePath(QStringLiteral("means")), 64);
    struct Case {
        VoiceSetup setup;  // device, model, dictionary, input file
        QString script;
        VoiceState state;
        const char* says;
    };
    const Case cases[] = {
        {{{}, missing, {}, {}}, english, VoiceState::Unavailable, "pocketsphinx-en-us"},
        {{{}, {}, missing, {}}, english, VoiceState::Unavailable, "pocketsphinx-en-us"},
        {{{}, broken, {}, {}}, english, VoiceState::Unavailable, "could not start"},
        {{}, german, VoiceState::Unavailable, "English"},
        {{{}, {}, {}, missing}, english, VoiceState::NoMicrophone, "cannot be read"},
        {{QStringLiteral("No Such Microphone"), {}, {}, {}},
         english,
         VoiceState::NoMicrophone,
         "No Such Microphone"},
    };
    for (const Case& c : cases) {
        VoiceFollower follower;
        EXPECT_FALSE(follower.isRunning());
        follower.setScript(c.script);
        follower.start(c.setup);
        EXPECT_TRUE(waitFor([&] { return follower.state() == c.state && !follower.isRunning(); }, 20000))
            << c.says;
        EXPECT_TRUE(follower.message().contains(QLatin1String(c.says))) << follower.message().toStdString();
    }
}

TEST(VoiceFollower, FollowsASynthesisedReadingWithTheRealRecogniser)
{
    application();
    const QString espeak = QStandardPaths::findExecutable(QStringLiteral("espeak-ng"));
    if (espeak.isEmpty())
        GTEST_SKIP() << "espeak-ng is not installed: the real recogniser is not exercised";
    const QString said =
        QStringLiteral("The treasurer wanted to talk about the roof, which leaked whenever the "
                       "wind came from the east.");
    QTemporaryDir folder;
    const QString wav = folder.filePath(QStringLiteral("reading.wav"));
    ASSERT_EQ(QProcess::execute(espeak, {QStringLiteral("-v"), QStringLiteral("en-us"), QStringLiteral("-s"),
                                         QStringLiteral("160"), QStringLiteral("-w"), wav, said}),
              0);
    VoiceFollower follower;
    follower.setScript(QStringLiteral("Nobody had read the minutes. ") + said +
                       QStringLiteral(" The secretary wanted to talk about the minutes."));
    follower.moveTo(int(QStringLiteral("Nobody had read the minutes. ").size()));
    std::vector<VoiceState> states;
    bool ended = false;
    QObject::connect(&follower, &VoiceFollower::stateChanged,
                     [&](VoiceState state) { states.push_back(state); });
    QObject::connect(&follower, &VoiceFollower::inputEnded, [&] { ended = true; });
    follower.start({{}, {}, {}, wav});
    ASSERT_TRUE(waitFor([&] { return ended; }, 30000)) << follower.message().toStdString();
    // "east" is word 5 + 17: the place ends within two words of it, having followed on the way.
    EXPECT_NEAR(double(follower.place().word), 22.0, 2.0);
    EXPECT_NE(std::find(states.begin(), states.end(), VoiceState::Following), states.end());
    follower.stop();
    EXPECT_EQ(follower.state(), VoiceState::Off);
}
