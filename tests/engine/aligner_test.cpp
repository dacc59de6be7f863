#include <gtest/gtest.h>

#include "engine/aligner.h"
#include "engine/scriptwords.h"

#include <algorithm>
#include <sstream>

using namespace velloran::engine;

namespace {

// Three paragraphs; the second and third hold homophones of words a recogniser confuses.
constexpr std::u16string_view kScript =
    u"The committee met on a grey morning in early spring. Nobody expected the meeting to last more "
    u"than an hour, yet by noon the chairman had not even reached the second item on the agenda. The "
    u"treasurer wanted to talk about the roof, which leaked whenever the wind came from the east.\n\n"
    u"The secretary wanted to talk about the minutes, which nobody had read. Their copies lay on the "
    u"table, right beside two plates of biscuits. And the oldest member, who had sat on the committee "
    u"for thirty years, wanted only to know why the biscuits had changed.\n\n"
    u"Outside, a delivery van reversed slowly into the car park, its warning signal beeping like a "
    u"patient metronome. The chairman sighed, closed his folder and suggested a short break for tea. "
    u"Everyone agreed at once, and the meeting finally came back to life.";

const std::vector<std::string>& scriptWords()
{
    static const std::vector<std::string> words = [] {
        std::vector<std::string> out;
        for (const auto& word : splitScriptWords(kScript))
            out.push_back(word.word);
        return out;
    }();
    return words;
}

std::vector<AlignerWord> alignerWords()
{
    std::vector<AlignerWord> out;
    bool starts = true;
    for (const auto& word : splitScriptWords(kScript)) {
        out.push_back({word.word, {}, true, starts});
        starts = word.sentenceEnd;
    }
    return out;
}

int indexOf(const std::string& phrase)
{
    // The index of the phrase's first word where it first occurs.
    std::istringstream in(phrase);
    std::vector<std::string> wanted;
    for (std::string word; in >> word;)
        wanted.push_back(word);
    const auto& words = scriptWords();
    const auto it = std::search(words.begin(), words.end(), wanted.begin(), wanted.end());
    EXPECT_NE(it, words.end()) << phrase;
    return int(it - words.begin());
}

// What the reader does, in order; each step says words at 0.4 s apiece.
struct Step {
    enum Kind { Read, Say, Pause } kind;
    int from = 0;  // Read: script words [from, to)
    int to = 0;
    int dropEvery = 0;   // Read: the recogniser misses every n-th word
    int swapEvery = 0;   // Read: and mishears every n-th as "noise"
    std::string said;    // Say: words off the script, or heard in place of the script's
    double seconds = 0;  // Pause
};

Step read(int from, int to, int dropEvery = 0, int swapEvery = 0)
{
    return {Step::Read, from, to, dropEvery, swapEvery, {}, 0};
}
Step say(std::string words)
{
    return {Step::Say, 0, 0, 0, 0, std::move(words), 0};
}
Step pause(double seconds)
{
    return {Step::Pause, 0, 0, 0, 0, {}, seconds};
}

struct Outcome {
    ReaderPlace place;
    int largestBackStep = 0;     // over the whole run, in words
    int placeAfterFirstTwo = 0;  // of the last Read step: before a jump may be confirmed
};

// Feeds the steps as utterances of up to six words, each as growing partial hypotheses and then
// as final words, as a recogniser gives them.
Outcome perform(const std::vector<Step>& steps)
{
    Aligner aligner;
    aligner.setScript(alignerWords());
    Outcome run;
    double clock = 0;
    std::vector<HeardWord> utterance;
    int shown = int(aligner.place().word);
    auto hear = [&](bool final) {
        const int now = int(aligner.hear(utterance, final).word);
        run.largestBackStep = std::max(run.largestBackStep, shown - now);
        shown = now;
        if (final)
            utterance.clear();
    };
    auto heard = [&](std::string word) {
        clock += 0.4;
        utterance.push_back({std::move(word), clock - 0.4, clock, {}});
        hear(utterance.size() == 6);
    };
    for (std::size_t s = 0; s < steps.size(); ++s) {
        const Step& step = steps[s];
        if (step.kind == Step::Read) {
            for (int i = step.from; i < step.to; ++i) {
                const int n = i - step.from + 1;
                if (step.dropEvery && n % step.dropEvery == 0)
                    continue;
                heard(step.swapEvery && n % step.swapEvery == 0 ? "noise" : scriptWords()[std::size_t(i)]);
                if (n == 2)
                    run.placeAfterFirstTwo = int(aligner.place().word);
            }
        } else if (step.kind == Step::Say) {
            std::istringstream in(step.said);
            for (std::string word; in >> word;)
                heard(word);
        } else {
            if (!utterance.empty())
                hear(true);
            clock += step.seconds;
            aligner.idle(clock);
        }
    }
    if (!utterance.empty())
        hear(true);
    run.place = aligner.place();
    return run;
}

}  // namespace

TEST(Aligner, FollowsWhatReadersDo)
{
    const int last = int(scriptWords().size()) - 1;
    const int para2 = indexOf("the secretary wanted");
    const int para3 = indexOf("outside a delivery");
    const int sentence = indexOf("nobody expected the meeting");
    const int sentenceEnd = indexOf("the treasurer wanted");
    struct Case {
        const char* name;
        std::vector<Step> steps;
        int place;  // expected, within `slack` words
        int slack;
        FollowState state;
        int backSteps;  // the largest step back allowed
    };
    const Case cases[] = {
        {"straight", {read(0, last + 1)}, last, 0, FollowState::Following, 0},
        {"recogniser misses every fourth word", {read(0, last + 1, 4)}, last, 1, FollowState::Following, 0},
        {"and mishears every fifth", {read(0, last + 1, 0, 5)}, last, 1, FollowState::Following, 0},
        {"homophones",
         {read(0, para2 + 10), say("there copies lay on the table write beside to plates of biscuits"),
          read(indexOf("and the oldest member"), para3)},
         para3 - 1,
         1,
         FollowState::Following,
         0},
        {"ad-lib of two sentences holds",
         {read(0, 20), say("and may I say what a pleasure it is to see so many of you here today "
                           "we should all take a moment to thank the organisers")},
         19,
         2,
         FollowState::Lost,
         0},
        {"little words of the script amid an ad-lib do not pull it on",
         {read(0, 20), say("and may I say what a pleasure it is to see so many of you here today it was "
                          "by the way the first time the two of us had not met on the day")},
         19, 2, FollowState::Lost, 0},
        {"and reading on after it",
         {read(0, 20), say("so many of you here today thank you"), read(20, 60)},
         59,
         1,
         FollowState::Following,
         0},
        {"a long pause holds", {read(0, 30), pause(10)}, 29, 0, FollowState::Holding, 0},
        {"a skipped paragraph is found again",
         {read(0, para2), read(para3, para3 + 12)},
         para3 + 11,
         1,
         FollowState::Following,
         0},
        {"a sentence said twice goes back on a confirmed match",
         {read(0, sentenceEnd), read(sentence, sentence + 8)},
         sentence + 7,
         1,
         FollowState::Following,
         sentenceEnd - sentence},
        {"two words said again do not go back",
         {read(0, sentenceEnd), read(sentence, sentence + 2), pause(3)},
         sentenceEnd - 1,
         0,
         FollowState::Holding,
         0},
        // The recogniser listens for the script's phrases, so it may hear one from further on.
        {"a phrase from mid-sentence further on is not a jump",
         {read(0, 30), say("wanted only to know why the"), read(30, 45)},
         44,
         1,
         FollowState::Following,
         0},
        {"a skip into the middle of a sentence is found on more words",
         {read(0, para2), read(indexOf("wanted only to know"), indexOf("wanted only to know") + 12)},
         indexOf("wanted only to know") + 11,
         1,
         FollowState::Following,
         0},
    };
    for (const Case& c : cases) {
        const Outcome run = perform(c.steps);
        EXPECT_NEAR(int(run.place.word), c.place, c.slack) << c.name;
        EXPECT_EQ(run.place.state, c.state) << c.name;
        EXPECT_LE(run.largestBackStep, c.backSteps) << c.name;
    }
}

TEST(Aligner, JumpsOnlyOnceAJumpIsConfirmed)
{
    const int para2 = indexOf("the secretary wanted");
    const int para3 = indexOf("outside a delivery");
    const Outcome run = perform({read(0, para2), read(para3, para3 + 12)});
    EXPECT_LT(run.placeAfterFirstTwo, para2 + 1);
    EXPECT_NEAR(int(run.place.word), para3 + 11, 1);
    EXPECT_GT(run.place.confidence, 0.7);
}

TEST(Aligner, DoesNotShakeWhenTheRecogniserTakesAWordBackAtOnce)
{
    Aligner aligner;
    aligner.setScript(alignerWords());
    const int para3 = indexOf("outside a delivery");
    aligner.moveTo(std::size_t(para3 - 20));
    auto heard = [](std::initializer_list<const char*> words) {
        std::vector<HeardWord> out;
        for (const char* word : words)
            out.push_back({word, 0, 0, {}});
        return out;
    };
    // A skip ahead, confirmed on a partial hypothesis, then one partial that says otherwise.
    const auto& jumped = aligner.hear(heard({"outside", "a", "delivery", "van", "reversed", "slowly"}), false);
    EXPECT_EQ(int(jumped.word), para3 + 4);
    EXPECT_EQ(int(aligner.hear(heard({"outside", "a", "delivery", "nobody", "had", "read"}), false).word), para3 + 4);
    EXPECT_EQ(int(aligner.hear(heard({"outside", "a", "delivery", "van", "reversed", "slowly", "into"}), true).word),
              para3 + 6);
}

TEST(Aligner, StaysInsideTheScript)
{
    Aligner aligner;
    aligner.setScript({"one", "two", "three"}, 99);
    EXPECT_EQ(aligner.place().word, 2u);
    EXPECT_EQ(aligner.hear({{"three", 0, 0.3, {}}, {"three", 0.3, 0.6, {}}}, true).word, 2u);
    aligner.moveTo(0);
    // The last word of a partial hypothesis waits for the next: recognisers often take it back.
    EXPECT_EQ(aligner.hear({{"one", 0, 0.3, {}}, {"two", 0.3, 0.6, {}}, {"three", 0.6, 0.9, {}}}, false).word,
              1u);
    EXPECT_EQ(aligner.hear({{"one", 0, 0.3, {}}, {"two", 0.3, 0.6, {}}, {"three", 0.6, 0.9, {}}}, true).word,
              2u);

    Aligner empty;
    empty.setScript(std::vector<std::string> {});
    EXPECT_EQ(empty.hear({{"word", 0, 1, {}}}, true).word, 0u);
}

TEST(Aligner, PassesOverWordsTheRecogniserCannotHear)
{
    Aligner aligner;
    std::vector<AlignerWord> words = {{"we", {}, true},       {"met", {}, true},     {"ngozi", {}, false},
                                      {"okonjo", {}, false},  {"iweala", {}, false}, {"adaeze", {}, false},
                                      {"chukwu", {}, false},  {"in", {}, true},      {"geneva", {}, true},
                                      {"yesterday", {}, true}};
    aligner.setScript(words);
    const auto& place = aligner.hear({{"we", 0, 0.3, {}},
                                      {"met", 0.3, 0.6, {}},
                                      {"in", 0.6, 0.9, {}},
                                      {"geneva", 0.9, 1.2, {}},
                                      {"yesterday", 1.2, 1.5, {}}},
                                     true);
    EXPECT_EQ(place.word, 9u);
    EXPECT_EQ(place.state, FollowState::Following);
}
