#include "engine/scriptlm.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>

namespace velloran::engine {

namespace {

constexpr double kDiscount = 0.5;
constexpr const char* kStart = "<s>";
constexpr const char* kEnd = "</s>";

using Gram = std::vector<std::string>;

std::string logText(double probability)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.5f", probability > 0 ? std::log10(probability) : -99.0);
    return text;
}

std::string joined(const Gram& gram)
{
    std::string out;
    for (const auto& word : gram)
        out += (out.empty() ? "" : " ") + word;
    return out;
}

// Counts of a history's followers: how often each word came after it.
struct Followers {
    double total = 0;
    std::map<std::string, double> counts;
};

}  // namespace

std::string scriptLanguageModel(const std::vector<std::vector<std::string>>& sentences,
                                const std::vector<std::string>& extra, double extraShare)
{
    std::map<std::string, double> unigrams;
    std::map<Gram, Followers> afterOne;  // history of one word
    std::map<Gram, Followers> afterTwo;  // history of two words
    double tokens = 0;
    for (const auto& sentence : sentences) {
        if (sentence.empty())
            continue;
        Gram words {kStart};
        words.insert(words.end(), sentence.begin(), sentence.end());
        words.push_back(kEnd);
        for (std::size_t i = 1; i < words.size(); ++i) {
            unigrams[words[i]] += 1;
            tokens += 1;
            Followers& one = afterOne[{words[i - 1]}];
            one.total += 1;
            one.counts[words[i]] += 1;
            if (i >= 2) {
                Followers& two = afterTwo[{words[i - 2], words[i - 1]}];
                two.total += 1;
                two.counts[words[i]] += 1;
            }
        }
    }
    if (unigrams.empty())
        unigrams[kEnd] = 1, tokens = 1;
    std::set<std::string> extras;
    for (const auto& word : extra) {
        if (!unigrams.count(word) && word != kStart)
            extras.insert(word);
    }
    const double share = extras.empty() ? 0.0 : std::clamp(extraShare, 0.0, 0.9);
    // Every script word keeps some probability (add one), so the reader may start anywhere.
    const double vocabulary = double(unigrams.size());
    std::map<std::string, double> p1;
    for (const auto& [word, count] : unigrams)
        p1[word] = (1 - share) * (count + 1) / (tokens + vocabulary);
    for (const auto& word : extras)
        p1[word] = share / double(extras.size());

    auto bigram = [&](const std::string& history, const std::string& word) {
        const Followers& f = afterOne.at({history});
        return (f.counts.at(word) - kDiscount) / f.total;
    };
    // Back-off weights: the mass discounted from a history, spread over the lower order.
    auto backoff = [&](const Followers& f, auto lower) {
        double seen = 0;
        double lowerSeen = 0;
        for (const auto& [word, count] : f.counts) {
            seen += (count - kDiscount) / f.total;
            lowerSeen += lower(word);
        }
        return (1 - seen) / std::max(1 - lowerSeen, 1e-9);
    };

    std::string out = "\\data\\\n";
    std::size_t bigrams = 0;
    std::size_t trigrams = 0;
    for (const auto& [history, f] : afterOne)
        bigrams += f.counts.size();
    for (const auto& [history, f] : afterTwo)
        trigrams += f.counts.size();
    out += "ngram 1=" + std::to_string(p1.size() + 1) + "\n";
    out += "ngram 2=" + std::to_string(bigrams) + "\n";
    out += "ngram 3=" + std::to_string(trigrams) + "\n\n\\1-grams:\n";
    auto unigramLine = [&](const std::string& word, double probability) {
        out += logText(probability) + " " + word;
        const auto it = afterOne.find({word});
        if (it != afterOne.end())
            out += ' ' + logText(backoff(it->second, [&](const std::string& w) { return p1.at(w); }));
        out += "\n";
    };
    unigramLine(kStart, 0);
    for (const auto& [word, probability] : p1)
        unigramLine(word, probability);
    out += "\n\\2-grams:\n";
    for (const auto& [history, f] : afterOne) {
        for (const auto& [next, count] : f.counts) {
            const std::string& word = next;  // named, so the lambda below may capture it
            const Gram gram {history[0], word};
            out += logText((count - kDiscount) / f.total) + " " + joined(gram);
            const auto it = afterTwo.find(gram);
            if (it != afterTwo.end())
                out +=
                    ' ' + logText(backoff(it->second, [&](const std::string& w) { return bigram(word, w); }));
            out += "\n";
        }
    }
    out += "\n\\3-grams:\n";
    for (const auto& [history, f] : afterTwo) {
        for (const auto& [word, count] : f.counts)
            out +=
                logText((count - kDiscount) / f.total) + " " + joined({history[0], history[1], word}) + "\n";
    }
    out += "\n\\end\\\n";
    return out;
}

}  // namespace velloran::engine
