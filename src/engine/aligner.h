#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace velloran::engine {

// A word the recogniser heard, on the audio stream's clock (seconds).
struct HeardWord {
    std::string word;  // in the form of ScriptWord::word
    double start = 0;
    double end = 0;
    std::string sound;  // its pronunciation when the recogniser knows it ("" otherwise)
};

// A script word as the aligner matches it.
struct AlignerWord {
    std::string word;
    std::string sound;           // pronunciation, so that homophones match ("" when unknown)
    bool hearable = true;        // false: the recogniser cannot hear it, so passing it costs nothing
    bool sentenceStart = false;  // readers who skip or go back mostly start a sentence
};

enum class FollowState {
    Holding,    // listening: nothing heard for a while, or a few words off the script
    Following,  // the reader is on the script
    Lost,       // many words in a row matched nothing near the place
};

struct ReaderPlace {
    std::size_t word = 0;   // the script word the reader has reached; always inside the script
    double confidence = 0;  // 0..1: the share of recent heard words that matched where expected
    FollowState state = FollowState::Holding;

    bool operator==(const ReaderPlace&) const = default;
};

// Decides where in the script a reader is from the words a recogniser hears. It keeps several
// tracks (where the reader may be, with a score) and moves them with every heard word: on to the
// next matching word (a few missed words allowed), standing still for a word off the script, or
// jumping to a matching word further off. The place it reports moves only on a track that is
// confirmed: a jump counts after several matched words in a row (more of them for a jump back or
// into the middle of a sentence) that put it clearly ahead of every track that did not jump; a
// small step back never shows. Words of the utterance under way (partial) may change, so each
// hearing starts again from the state the last final words left.
class Aligner {
public:
    Aligner() = default;

    // A new script; the reader is about to say word `start`.
    void setScript(std::vector<AlignerWord> words, std::size_t start = 0);
    void setScript(const std::vector<std::string>& words, std::size_t start = 0);
    std::size_t size() const { return m_words.size(); }

    // The user moved the script: the reader is about to say this word.
    void moveTo(std::size_t word);

    // All words heard so far in the utterance under way; `final` when the recogniser will not
    // change them any more.
    const ReaderPlace& hear(const std::vector<HeardWord>& utterance, bool final);

    // Time on the stream's clock with nothing new heard: a pause holds the place.
    const ReaderPlace& idle(double now);

    const ReaderPlace& place() const { return m_place; }

private:
    struct Word {
        int text = -1;
        int sound = -1;
        float weight = 0;
        bool hearable = true;
    };
    struct Track {
        int pos = -1;  // the last script word said; -1 before the first
        double score = 0;
        int streak = 0;             // heard words matched in a row
        int misses = 0;             // heard words in a row that matched nothing
        int gap = 0;                // and how many there were before the streak
        int run = 0;                // words matched since the last jump
        double runWeight = 0;       // and their weight
        bool pending = false;       // jumped, not yet confirmed
        bool back = false;          // the pending jump went backwards
        bool atSentence = false;    // and landed at a sentence's start
        std::uint32_t history = 0;  // one bit per heard word, newest lowest: 1 when it matched
    };
    struct Heard {
        int text = -1;
        int sound = -1;
        const std::string* word = nullptr;
    };

    void step(std::vector<Track>& tracks, const Heard& heard) const;
    double match(const Heard& heard, int pos) const;
    bool confirmed(const Track& track) const;
    void report(const std::vector<Track>& tracks, double time, bool heardSomething);
    Heard lookUp(const HeardWord& word) const;
    int clampedPlace(int pos) const;

    std::vector<Word> m_words;
    std::vector<int> m_sentenceStart;  // by word: where its sentence starts
    std::unordered_map<std::string, int> m_textIds;
    std::unordered_map<std::string, int> m_soundIds;
    std::unordered_map<int, std::vector<int>> m_byText;   // text id -> positions, ascending
    std::unordered_map<int, std::vector<int>> m_bySound;  // sound id -> positions, ascending
    std::vector<std::string> m_texts;                     // by text id, for near matches

    std::vector<Track> m_committed;  // after the last final words
    ReaderPlace m_committedPlace;    // and the place they left
    std::size_t m_settled = 0;       // words of the utterance under way already in m_committed
    bool m_doubtingBack = false;     // the last hearing went back, and it was not shown yet
    ReaderPlace m_place;
    double m_lastMatch = 0;  // stream time of the last word that moved or held the place
    double m_lastHeard = 0;
};

}  // namespace velloran::engine
