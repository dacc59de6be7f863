#include "platform/pronouncingdictionary.h"

#include <QFile>
#include <algorithm>

namespace velloran::platform {

namespace {

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

}  // namespace

bool PronouncingDictionary::load(const QString& path, QString* reason)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    m_text.assign(bytes.constData(), std::size_t(bytes.size()));
    m_entries.clear();
    std::string_view rest(m_text);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = trimmed(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        const std::size_t space = line.find_first_of(" \t");
        if (line.empty() || space == std::string_view::npos || line.starts_with(";;;"))
            continue;
        std::string_view word = line.substr(0, space);
        if (word.ends_with(')') && word.find('(') != std::string_view::npos)
            word = word.substr(0, word.rfind('('));
        const std::string_view phones = trimmed(line.substr(space));
        if (!word.empty() && !phones.empty())
            m_entries.push_back({word, phones});
    }
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [](const Entry& a, const Entry& b) { return a.word < b.word; });
    if (m_entries.empty() && reason)
        *reason = QStringLiteral("it holds no pronunciation");
    return !m_entries.empty();
}

bool PronouncingDictionary::contains(std::string_view word) const
{
    return std::binary_search(m_entries.begin(), m_entries.end(), Entry {word, {}},
                              [](const Entry& a, const Entry& b) { return a.word < b.word; });
}

std::vector<std::string_view> PronouncingDictionary::pronunciations(std::string_view word) const
{
    const auto [first, last] =
        std::equal_range(m_entries.begin(), m_entries.end(), Entry {word, {}},
                         [](const Entry& a, const Entry& b) { return a.word < b.word; });
    std::vector<std::string_view> out;
    for (auto it = first; it != last; ++it)
        out.push_back(it->phones);
    return out;
}

}  // namespace velloran::platform
