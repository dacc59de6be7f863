#include <gtest/gtest.h>

#include "engine/scriptlm.h"

#include <cmath>
#include <map>
#include <sstream>

using namespace velloran::engine;

namespace {

// Reads ARPA text back: log probabilities and back-off weights by n-gram.
struct Arpa {
    std::map<std::string, double> logp;
    std::map<std::string, double> backoff;
    std::map<int, int> declared;
    std::map<int, int> listed;
    std::vector<std::string> vocabulary;

    explicit Arpa(const std::string& text)
    {
        std::istringstream in(text);
        int order = 0;
        for (std::string line; std::getline(in, line);) {
            if (line.starts_with("ngram ")) {
                declared[std::stoi(line.substr(6))] = std::stoi(line.substr(line.find('=') + 1));
            } else if (line.size() > 2 && line[0] == '\\' && std::isdigit(line[1])) {
                order = line[1] - '0';
            } else if (order > 0 && !line.empty() && line[0] != '\\') {
                std::istringstream fields(line);
                double p = 0;
                fields >> p;
                std::string gram;
                std::string word;
                for (int i = 0; i < order && fields >> word; ++i)
                    gram += (i ? " " : "") + word;
                logp[gram] = p;
                if (double b = 0; fields >> b)
                    backoff[gram] = b;
                ++listed[order];
                if (order == 1 && word != "<s>")
                    vocabulary.push_back(word);
            }
        }
    }

    // p(word | history) with back-off, as a recogniser computes it.
    double probability(const std::vector<std::string>& history, const std::string& word) const
    {
        std::string gram;
        for (const auto& h : history)
            gram += h + " ";
        gram += word;
        if (const auto it = logp.find(gram); it != logp.end())
            return std::pow(10.0, it->second);
        std::string context;
        for (std::size_t i = 0; i < history.size(); ++i)
            context += (i ? " " : "") + history[i];
        const auto b = backoff.find(context);
        const double weight = b == backoff.end() ? 1.0 : std::pow(10.0, b->second);
        return weight * probability({history.begin() + 1, history.end()}, word);
    }
};

}  // namespace

TEST(ScriptLanguageModel, IsAProperModelThatExpectsTheScriptInOrder)
{
    const std::vector<std::vector<std::string>> sentences = {
        {"the", "roof", "leaked", "whenever", "the", "wind", "came"},
        {"the", "wind", "came", "from", "the", "east"},
    };
    const Arpa model(scriptLanguageModel(sentences, {"and", "so", "the"}, 0.1));
    for (int order = 1; order <= 3; ++order)
        EXPECT_EQ(model.declared.at(order), model.listed.at(order)) << order;
    EXPECT_EQ(model.listed.at(3), 12);

    // After every history the probabilities over the vocabulary sum to one.
    const std::vector<std::vector<std::string>> histories = {
        {}, {"the"}, {"<s>"}, {"came"}, {"the", "wind"}, {"wind", "came"}, {"east", "the"}, {"so", "and"}};
    for (const auto& history : histories) {
        double total = 0;
        for (const auto& word : model.vocabulary)
            total += model.probability(history, word);
        EXPECT_NEAR(total, 1.0, 1e-3) << (history.empty() ? "" : history.back());
    }
    // The script's own continuation is by far the likeliest; words off it keep their share.
    EXPECT_GT(model.probability({"the", "wind"}, "came"), 0.4);
    EXPECT_LT(model.probability({"the", "wind"}, "roof"), 0.1);
    EXPECT_NEAR(model.probability({}, "and") + model.probability({}, "so"), 0.1, 1e-3);
}
