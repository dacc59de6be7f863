#pragma once

#include <string>
#include <vector>

namespace velloran::engine {

// A trigram language model in ARPA text that makes a recogniser expect these sentences, in this
// order, from wherever the reader starts: counts of the script's own word sequences, absolutely
// discounted, backing off to bigrams and to unigrams that every word of the vocabulary keeps.
// `extra` words (for instance common words, to absorb speech off the script) join the unigrams
// with `extraShare` of their probability.
std::string scriptLanguageModel(const std::vector<std::vector<std::string>>& sentences,
                                const std::vector<std::string>& extra = {}, double extraShare = 0.0);

}  // namespace velloran::engine
