#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace velloran::ui {

// Pixel heights of a document's blocks, real for those laid out and estimated for the others, so
// that the top of any block and the total height are known without laying out the whole script.
// An unmeasured block counts its raw estimate (in lines) times one factor, the height of a raw
// line; the factor is refreshed from the blocks measured so far.
//
// The leading run of measured blocks keeps its tops as running sums in order, so a script read
// from the top (every block above the place shown is measured) gets exactly the tops it always
// did; other tops come from two Fenwick trees in logarithmic time.
class BlockHeights {
public:
    // Every block unmeasured with these raw estimates.
    void reset(const std::vector<double>& rawLines);
    // The blocks from `first` on replaced by unmeasured ones; those before keep what they have.
    void replaceFrom(std::size_t first, const std::vector<double>& rawLines);
    void measure(std::size_t block, double height);
    void unmeasure(std::size_t block, double rawLines);  // its content changed
    bool measured(std::size_t block) const { return m_measured[block] != 0; }
    std::size_t size() const { return m_height.size(); }
    std::size_t measuredPrefix() const { return m_prefixTops.size() - 1; }

    double top(std::size_t block) const;
    double total() const { return top(size()); }
    // The last block whose top is at or above `offset` (0 when there are none).
    std::size_t blockAt(double offset) const;
    std::optional<std::size_t> nextUnmeasured(std::size_t from) const;

    double factor() const { return m_factor; }
    void setFactor(double factor) { m_factor = factor; }
    // The measured height per raw line so far, or the fallback while nothing is measured.
    double suggestedFactor(double fallback) const;

private:
    void rebuildTrees();
    void add(std::vector<double>& tree, std::size_t block, double delta);
    double prefix(const std::vector<double>& tree, std::size_t count) const;
    void extendPrefix();

    std::vector<double> m_height;  // real when measured, else the raw estimate in lines
    std::vector<char> m_measured;
    std::vector<double> m_real;  // Fenwick tree of real heights (0 for unmeasured)
    std::vector<double> m_raw;   // Fenwick tree of raw estimates (0 for measured)
    std::vector<double> m_prefixTops {0.0};
    double m_measuredHeight = 0;
    double m_measuredRaw = 0;
    std::vector<double> m_rawOf;  // each block's raw estimate, measured or not
    double m_factor = 1;
};

}  // namespace velloran::ui
