#pragma once

#include <QString>
#include <string>
#include <string_view>
#include <vector>

namespace velloran::platform {

// A pronouncing dictionary in the CMU format a recogniser reads ("word PH ON ES", alternatives as
// "word(2) ..."), held whole in memory and looked up by word. Reading it ourselves is far quicker
// than letting the recogniser load all of it: the recogniser is given only the script's words.
class PronouncingDictionary {
public:
    // False, with the reason, when the file cannot be read or holds no entry.
    bool load(const QString& path, QString* reason);
    bool contains(std::string_view word) const;
    // The phones of each pronunciation, the first the most common; empty for an unknown word.
    std::vector<std::string_view> pronunciations(std::string_view word) const;
    std::size_t size() const { return m_entries.size(); }

private:
    struct Entry {
        std::string_view word;  // without the "(2)" of an alternative
        std::string_view phones;
    };
    std::string m_text;
    std::vector<Entry> m_entries;  // sorted by word, a word's pronunciations in file order
};

}  // namespace velloran::platform
