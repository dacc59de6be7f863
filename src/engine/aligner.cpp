#include "engine/aligner.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace velloran::engine {

namespace {

// Scores are in units of one well-heard word. Straight reading earns about one per word; a word
// off the script costs a little less than a misheard word moving on, so an ad-lib holds the place;
// each script word passed over costs more than a common word earns, so a stray "the" ahead does
// not pull the place along.
constexpr double kBase = 0.3;        // earned by any matched word, on top of its weight
constexpr double kInsert = 0.5;      // a heard word that is not in the script here
constexpr double kSubstitute = 1.0;  // a misheard word: the place moves on by one
constexpr double kSkip = 0.7;        // per hearable script word passed over
constexpr int kMaxSkip = 4;          // hearable words passed over in one step
constexpr int kMaxReach = 64;        // script words looked at in one step, hearable or not
constexpr double kJumpAhead = 3.5;   // cost of jumping ahead, plus kJumpPerWord a word
constexpr double kJumpBack = 4.5;
constexpr double kJumpPerWord = 0.004;
constexpr int kAheadRange = 400;  // how far ahead and back a jump may land
constexpr int kBackRange = 120;
constexpr int kConfirmAhead = 4;  // words matched in a row before a jump ahead counts
constexpr double kConfirmAheadWeight = 3.0;
constexpr int kConfirmBack = 5;  // and before a jump back counts
constexpr double kConfirmBackWeight = 3.5;
constexpr int kSentenceSlack = 2;       // a jump landing this near a sentence's start lands on it
constexpr int kMidSentenceWords = 3;    // more words matched for a jump into a sentence's middle
constexpr double kConfirmMargin = 1.0;  // and must beat every track that did not jump by this much
constexpr double kBeam = 7.0;           // tracks further below the best are dropped
constexpr std::size_t kMaxTracks = 48;
constexpr int kSmallBack = 3;               // a step back this small never shows
constexpr double kResumeWeight = 1.6;       // of the words matched in a row that end a hold
constexpr int kHoldAfter = 3;               // unmatched words in a row before the place holds
constexpr int kLostAfter = 8;               // and before it is lost
constexpr double kPauseSeconds = 1.5;       // silence before the place holds
constexpr std::size_t kLongestReplay = 48;  // words of an utterance replayed at each hearing

constexpr double kExact = 1.0;  // match values: the same word, the same sound, a close form
constexpr double kSameSound = 0.85;
constexpr double kCloseForm = 0.6;

const char* const kCommonWords[] = {
    "a",    "an",    "the",  "and",   "or",    "but",  "of",    "to",    "in",    "on",   "at",   "by",
    "for",  "with",  "from", "as",    "is",    "are",  "was",   "were",  "be",    "been", "it",   "its",
    "it's", "this",  "that", "these", "those", "i",    "you",   "he",    "she",   "we",   "they", "me",
    "him",  "her",   "us",   "them",  "my",    "your", "his",   "our",   "their", "not",  "no",   "so",
    "do",   "did",   "have", "has",   "had",   "will", "would", "can",   "could", "if",   "then", "there",
    "what", "which", "who",  "all",   "one",   "up",   "out",   "about", "into",  "than", "just", "very"};

bool isCommon(const std::string& word)
{
    return std::find_if(std::begin(kCommonWords), std::end(kCommonWords),
                        [&](const char* common) { return word == common; }) != std::end(kCommonWords);
}

// A key by spelling for when no pronunciation is known: words that sound alike mostly share it
// ("there", "their", "they're"; "right", "write"; "know", "no").
std::string spellingSound(const std::string& word)
{
    std::string letters;
    for (char c : word) {
        if (c >= 'a' && c <= 'z')
            letters += c;
        else if (static_cast<unsigned char>(c) >= 0x80)
            return word;  // not English: only the word itself matches
    }
    for (const char* prefix : {"kn", "gn", "pn", "wr"}) {
        if (letters.starts_with(prefix)) {
            letters.erase(0, 1);
            break;
        }
    }
    auto vowel = [](char c) { return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u' || c == 'y'; };
    std::string key;
    auto put = [&](char c) {
        if (key.empty() || key.back() != c)
            key += c;
    };
    const std::size_t n = letters.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = letters[i];
        const char next = i + 1 < n ? letters[i + 1] : '\0';
        if (vowel(c)) {
            if (i == 0)
                put('a');
            continue;
        }
        switch (c) {
        case 'p':
            if (next == 'h') {
                put('f');
                ++i;
            } else {
                put('p');
            }
            break;
        case 't':
            if (next == 'h') {
                put('0');
                ++i;
            } else if (next == 'c' && i + 2 < n && letters[i + 2] == 'h') {
                put('x');
                i += 2;
            } else {
                put('t');
            }
            break;
        case 's':
            if (next == 'h') {
                put('x');
                ++i;
            } else {
                put('s');
            }
            break;
        case 'c':
            if (next == 'h') {
                put('x');
                ++i;
            } else if (next == 'e' || next == 'i' || next == 'y') {
                put('s');
            } else {
                put('k');
                if (next == 'k')
                    ++i;
            }
            break;
        case 'g':
            if (next == 'h') {
                if (i == 0)
                    put('k');
                ++i;
            } else {
                put('k');
            }
            break;
        case 'd':
            if (next == 'g') {
                put('j');
                ++i;
            } else {
                put('t');
            }
            break;
        case 'q': put('k'); break;
        case 'x':
            put('k');
            put('s');
            break;
        case 'z': put('s'); break;
        case 'b': put('p'); break;
        case 'v': put('f'); break;
        case 'w':
        case 'h':
            // Sounded only before a vowel, and not after a consonant ("two", "who" aside).
            if (vowel(next) && (i == 0 || vowel(letters[i - 1])))
                put(c);
            break;
        default: put(c); break;
        }
    }
    return key.empty() ? word : key;
}

// "system" and "systems", "walk" and "walked": one a stem of the other, short ends apart.
bool closeForms(const std::string& a, const std::string& b)
{
    const std::string& shorter = a.size() <= b.size() ? a : b;
    const std::string& longer = a.size() <= b.size() ? b : a;
    return shorter.size() >= 4 && longer.size() - shorter.size() <= 3 && longer.starts_with(shorter);
}

int internId(std::unordered_map<std::string, int>& ids, const std::string& key)
{
    return ids.try_emplace(key, int(ids.size())).first->second;
}

int findId(const std::unordered_map<std::string, int>& ids, const std::string& key)
{
    const auto it = ids.find(key);
    return it == ids.end() ? -1 : it->second;
}

}  // namespace

void Aligner::setScript(const std::vector<std::string>& words, std::size_t start)
{
    std::vector<AlignerWord> aligned;
    aligned.reserve(words.size());
    for (const auto& word : words)
        aligned.push_back({word, {}, true, false});
    setScript(std::move(aligned), start);
}

void Aligner::setScript(std::vector<AlignerWord> words, std::size_t start)
{
    m_words.assign(words.size(), {});
    m_sentenceStart.assign(words.size(), 0);
    m_textIds.clear();
    m_soundIds.clear();
    m_byText.clear();
    m_bySound.clear();
    m_texts.clear();
    std::unordered_map<int, int> counts;
    for (std::size_t i = 0; i < words.size(); ++i) {
        Word& word = m_words[i];
        word.text = internId(m_textIds, words[i].word);
        if (std::size_t(word.text) == m_texts.size())
            m_texts.push_back(words[i].word);
        const std::string sound = words[i].sound.empty() ? spellingSound(words[i].word) : words[i].sound;
        word.sound = internId(m_soundIds, sound);
        word.hearable = words[i].hearable && !words[i].word.empty();
        const bool starts = i == 0 || words[i].sentenceStart;
        m_sentenceStart[i] = starts ? int(i) : m_sentenceStart[i - 1];
        m_byText[word.text].push_back(int(i));
        m_bySound[word.sound].push_back(int(i));
        ++counts[word.text];
    }
    // Rare words weigh more: they tell places apart. Function words weigh little wherever they are.
    const double total = double(std::max<std::size_t>(words.size(), 1));
    for (std::size_t i = 0; i < words.size(); ++i) {
        Word& word = m_words[i];
        const double rarity = std::log2(std::max(total / counts[word.text], 1.0));
        double weight = std::clamp((rarity - 2.0) / 4.0, 0.3, 1.4);
        if (isCommon(words[i].word) || words[i].word.size() <= 2)
            weight = 0.25;
        word.weight = float(weight);
    }
    moveTo(start);
}

void Aligner::moveTo(std::size_t word)
{
    const int start = int(std::min(word, m_words.empty() ? 0 : m_words.size() - 1));
    m_committed.assign(1, Track {start - 1});
    m_place = {std::size_t(start), 0.0, FollowState::Holding};
    m_committedPlace = m_place;
    m_settled = 0;
    m_doubtingBack = false;
}

int Aligner::clampedPlace(int pos) const
{
    return std::clamp(pos, 0, std::max(int(m_words.size()) - 1, 0));
}

Aligner::Heard Aligner::lookUp(const HeardWord& word) const
{
    Heard heard;
    heard.word = &word.word;
    heard.text = findId(m_textIds, word.word);
    heard.sound = findId(m_soundIds, word.sound.empty() ? spellingSound(word.word) : word.sound);
    return heard;
}

double Aligner::match(const Heard& heard, int pos) const
{
    const Word& word = m_words[std::size_t(pos)];
    if (heard.text >= 0 && heard.text == word.text)
        return kExact;
    if (heard.sound >= 0 && heard.sound == word.sound)
        return kSameSound;
    return closeForms(*heard.word, m_texts[std::size_t(word.text)]) ? kCloseForm : 0.0;
}

bool Aligner::confirmed(const Track& track) const
{
    // The recogniser listens for the script's own phrases, so it may hear a few of their words in
    // speech that was not them: a jump counts only on a longer run of matches, longer still back
    // and longest into the middle of a sentence, where readers seldom go.
    int words = track.back ? kConfirmBack : kConfirmAhead;
    double weight = track.back ? kConfirmBackWeight : kConfirmAheadWeight;
    if (!track.atSentence) {
        words += kMidSentenceWords;
        weight += kMidSentenceWords;
    }
    return track.run >= words && track.runWeight >= weight;
}

void Aligner::step(std::vector<Track>& tracks, const Heard& heard) const
{
    const int n = int(m_words.size());
    std::vector<Track> next;
    next.reserve(tracks.size() * (kMaxSkip + 3) + 16);
    auto missed = [](Track t, double cost) {
        t.score -= cost;
        t.streak = 0;
        ++t.misses;
        t.run = 0;
        t.runWeight = 0;
        t.history <<= 1;
        return t;
    };
    auto matched = [&](Track t, int pos, double value, double cost) {
        const double weight = value * m_words[std::size_t(pos)].weight;
        t.pos = pos;
        t.score += value * kBase + weight - cost;
        if (t.streak == 0)
            t.gap = t.misses;
        ++t.streak;
        t.misses = 0;
        ++t.run;
        t.runWeight += weight + value * kBase;
        t.history = (t.history << 1) | 1u;
        return t;
    };
    for (const Track& track : tracks) {
        next.push_back(missed(track, kInsert));
        if (track.pos + 1 < n) {
            Track moved = missed(track, kSubstitute);
            moved.pos = track.pos + 1;
            next.push_back(moved);
        }
        int skipped = 0;
        for (int pos = track.pos + 1; pos < n && pos <= track.pos + kMaxReach && skipped <= kMaxSkip; ++pos) {
            const double value = match(heard, pos);
            if (value > 0)
                next.push_back(matched(track, pos, value, skipped * kSkip));
            if (m_words[std::size_t(pos)].hearable)
                ++skipped;
        }
    }
    // Jumps start from the best track to any matching word within range that a step cannot reach.
    const auto best = std::max_element(tracks.begin(), tracks.end(),
                                       [](const Track& a, const Track& b) { return a.score < b.score; });
    if (best != tracks.end()) {
        auto jumpTo = [&](int pos) {
            if (pos > best->pos && pos <= best->pos + kMaxSkip + 1)
                return;
            if (pos < best->pos - kBackRange || pos > best->pos + kAheadRange)
                return;
            const bool back = pos <= best->pos;
            Track jumped = *best;
            jumped.run = 0;
            jumped.runWeight = 0;
            jumped.streak = 0;
            jumped.pending = true;
            jumped.back = back;
            jumped.atSentence = m_sentenceStart[std::size_t(pos)] >= 0 &&
                                pos - m_sentenceStart[std::size_t(pos)] <= kSentenceSlack;
            const double cost = (back ? kJumpBack : kJumpAhead) + kJumpPerWord * std::abs(pos - best->pos);
            next.push_back(matched(jumped, pos, match(heard, pos), cost));
        };
        for (const auto* index : {&m_byText, &m_bySound}) {
            const int id = index == &m_byText ? heard.text : heard.sound;
            const auto found = index->find(id);
            if (id < 0 || found == index->end())
                continue;
            const auto& positions = found->second;
            auto it = std::lower_bound(positions.begin(), positions.end(), best->pos - kBackRange);
            for (; it != positions.end() && *it <= best->pos + kAheadRange; ++it)
                jumpTo(*it);
        }
    }
    // One track per place, the best; a confirmed track wins a tie.
    std::sort(next.begin(), next.end(), [](const Track& a, const Track& b) {
        if (a.pos != b.pos)
            return a.pos < b.pos;
        if (a.score != b.score)
            return a.score > b.score;
        return !a.pending && b.pending;
    });
    next.erase(
        std::unique(next.begin(), next.end(), [](const Track& a, const Track& b) { return a.pos == b.pos; }),
        next.end());
    double top = -1e300;
    for (const Track& track : next)
        top = std::max(top, track.score);
    for (Track& track : next)
        track.score -= top;
    std::erase_if(next, [](const Track& track) { return track.score < -kBeam; });
    double settled = -1e300;
    for (const Track& track : next) {
        if (!track.pending)
            settled = std::max(settled, track.score);
    }
    for (Track& track : next) {
        if (track.pending && confirmed(track) && track.score >= settled + kConfirmMargin)
            track.pending = false;
    }
    if (next.size() > kMaxTracks) {
        std::nth_element(next.begin(), next.begin() + kMaxTracks, next.end(),
                         [](const Track& a, const Track& b) { return a.score > b.score; });
        next.resize(kMaxTracks);
    }
    tracks = std::move(next);
}

void Aligner::report(const std::vector<Track>& tracks, double time, bool heardSomething)
{
    if (tracks.empty() || m_words.empty())
        return;
    const Track& best = *std::max_element(tracks.begin(), tracks.end(), [](const Track& a, const Track& b) {
        if (a.score != b.score)
            return a.score < b.score;
        return a.pending && !b.pending;
    });
    if (heardSomething)
        m_lastHeard = time;
    // Back from words off the script, words in a row must match before the place moves on again,
    // and not only little words such as "it" and "the", which any speech is full of.
    const FollowState before = m_place.state;
    const bool offScript = before == FollowState::Lost || (before == FollowState::Holding && best.gap > 0);
    const bool onward = offScript ? best.streak >= 2 && best.runWeight >= kResumeWeight : best.streak >= 1;
    if (!best.pending) {
        const int pos = clampedPlace(best.pos);
        const int shown = int(m_place.word);
        if ((pos > shown && onward) || pos + kSmallBack < shown)
            m_place.word = std::size_t(pos);
        if (best.streak > 0)
            m_lastMatch = time;
    }
    if (best.misses >= kLostAfter)
        m_place.state = FollowState::Lost;
    else if (best.pending || best.misses >= kHoldAfter)
        m_place.state = before == FollowState::Lost ? FollowState::Lost : FollowState::Holding;
    else if (onward)
        m_place.state = FollowState::Following;
    m_place.confidence = std::popcount(best.history & 0xffu) / 8.0;
}

const ReaderPlace& Aligner::hear(const std::vector<HeardWord>& utterance, bool final)
{
    // Every hearing replays the utterance from the last final state; the place shown so far in
    // it is kept unless the replay moves it on, or back by more than a slip.
    const ReaderPlace shown = m_place;
    auto replay = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            if (utterance[i].word.empty())
                continue;
            step(m_committed, lookUp(utterance[i]));
            report(m_committed, utterance[i].end, true);
        }
    };
    // A long utterance's early words are settled for good, so a replay never grows without bound.
    m_place = m_committedPlace;
    if (utterance.size() > m_settled + kLongestReplay) {
        const std::size_t settle = utterance.size() - kLongestReplay / 2;
        replay(m_settled, settle);
        m_settled = settle;
        m_committedPlace = m_place;
    }
    const std::vector<Track> committed = m_committed;
    // The last word of a partial hypothesis is the one the recogniser most often takes back.
    const std::size_t heard = final || utterance.empty() ? utterance.size() : utterance.size() - 1;
    replay(std::min(m_settled, heard), heard);
    if (m_place.word < shown.word && m_place.word + kSmallBack >= shown.word)
        m_place.word = shown.word;
    // A larger step back shows once two hearings in a row agree on it, or final words do: a
    // single partial hypothesis that the recogniser takes back at once must not shake the script.
    const bool back = m_place.word + kSmallBack < shown.word;
    if (back && !final && !m_doubtingBack)
        m_place.word = shown.word;
    m_doubtingBack = back && !final && !m_doubtingBack;
    if (final) {
        m_committedPlace = m_place;
        m_settled = 0;
    } else {
        m_committed = committed;
    }
    return m_place;
}

const ReaderPlace& Aligner::idle(double now)
{
    if (m_place.state == FollowState::Following && now - m_lastMatch > kPauseSeconds) {
        m_place.state = FollowState::Holding;
        m_committedPlace.state = FollowState::Holding;
    }
    return m_place;
}

}  // namespace velloran::engine
