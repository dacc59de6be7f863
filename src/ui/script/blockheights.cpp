#include "ui/script/blockheights.h"

#include <algorithm>

namespace velloran::ui {

void BlockHeights::reset(const std::vector<double>& rawLines)
{
    m_height.clear();
    m_measured.clear();
    m_rawOf.clear();
    replaceFrom(0, rawLines);
}

void BlockHeights::replaceFrom(std::size_t first, const std::vector<double>& rawLines)
{
    first = std::min(first, size());
    for (std::size_t i = first; i < size(); ++i) {
        if (m_measured[i]) {
            m_measuredHeight -= m_height[i];
            m_measuredRaw -= m_rawOf[i];
        }
    }
    m_height.resize(first);
    m_measured.resize(first);
    m_rawOf.resize(first);
    m_height.insert(m_height.end(), rawLines.begin(), rawLines.end());
    m_rawOf.insert(m_rawOf.end(), rawLines.begin(), rawLines.end());
    m_measured.resize(m_height.size(), 0);
    if (first == 0) {
        m_measuredHeight = 0;
        m_measuredRaw = 0;
    }
    if (m_prefixTops.size() > first + 1)
        m_prefixTops.resize(first + 1);
    rebuildTrees();
}

void BlockHeights::rebuildTrees()
{
    const std::size_t n = size();
    m_real.assign(n + 1, 0.0);
    m_raw.assign(n + 1, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        (m_measured[i] ? m_real : m_raw)[i + 1] += m_height[i];
        const std::size_t parent = (i + 1) + ((i + 1) & (~(i + 1) + 1));
        if (parent <= n) {
            m_real[parent] += m_real[i + 1];
            m_raw[parent] += m_raw[i + 1];
        }
    }
}

void BlockHeights::add(std::vector<double>& tree, std::size_t block, double delta)
{
    for (std::size_t i = block + 1; i < tree.size(); i += i & (~i + 1))
        tree[i] += delta;
}

double BlockHeights::prefix(const std::vector<double>& tree, std::size_t count) const
{
    double sum = 0;
    for (std::size_t i = count; i > 0; i -= i & (~i + 1))
        sum += tree[i];
    return sum;
}

void BlockHeights::measure(std::size_t block, double height)
{
    if (m_measured[block]) {
        add(m_real, block, height - m_height[block]);
        m_measuredHeight += height - m_height[block];
    } else {
        add(m_raw, block, -m_height[block]);
        add(m_real, block, height);
        m_measuredHeight += height;
        m_measuredRaw += m_rawOf[block];
        m_measured[block] = 1;
    }
    m_height[block] = height;
    if (block < measuredPrefix())
        m_prefixTops.resize(block + 1);  // the tops below it are sums again
    extendPrefix();
}

void BlockHeights::unmeasure(std::size_t block, double rawLines)
{
    if (m_measured[block]) {
        add(m_real, block, -m_height[block]);
        m_measuredHeight -= m_height[block];
        m_measuredRaw -= m_rawOf[block];
        m_measured[block] = 0;
    } else {
        add(m_raw, block, -m_height[block]);
    }
    add(m_raw, block, rawLines);
    m_height[block] = rawLines;
    m_rawOf[block] = rawLines;
    if (block < measuredPrefix())
        m_prefixTops.resize(block + 1);
}

void BlockHeights::extendPrefix()
{
    for (std::size_t i = measuredPrefix(); i < size() && m_measured[i]; ++i)
        m_prefixTops.push_back(m_prefixTops.back() + m_height[i]);
}

double BlockHeights::top(std::size_t block) const
{
    if (block < m_prefixTops.size())
        return m_prefixTops[block];
    return prefix(m_real, block) + m_factor * prefix(m_raw, block);
}

std::size_t BlockHeights::blockAt(double offset) const
{
    if (size() == 0)
        return 0;
    if (offset < m_prefixTops.back() || measuredPrefix() == size()) {
        const auto found = std::upper_bound(m_prefixTops.begin(), m_prefixTops.end(), offset);
        const auto before =
            static_cast<std::size_t>(std::max<std::ptrdiff_t>(found - m_prefixTops.begin() - 1, 0));
        return std::min(before, size() - 1);
    }
    std::size_t count = 0;
    double left = offset;
    std::size_t step = 1;
    while (step * 2 <= size())
        step *= 2;
    for (; step > 0; step /= 2) {
        const std::size_t next = count + step;
        if (next > size())
            continue;
        const double span = m_real[next] + m_factor * m_raw[next];
        if (span <= left) {
            count = next;
            left -= span;
        }
    }
    return std::min(count, size() - 1);
}

std::optional<std::size_t> BlockHeights::nextUnmeasured(std::size_t from) const
{
    for (std::size_t i = std::max(from, measuredPrefix()); i < size(); ++i)
        if (!m_measured[i])
            return i;
    return std::nullopt;
}

double BlockHeights::suggestedFactor(double fallback) const
{
    return m_measuredRaw > 0 ? m_measuredHeight / m_measuredRaw : fallback;
}

}  // namespace velloran::ui
