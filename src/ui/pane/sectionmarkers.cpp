#include "ui/pane/sectionmarkers.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>

#include "ui/pane/readingpane.h"
#include "ui/pane/scriptview.h"
#include "ui/script/scriptsurface.h"
#include "ui/script/scripttext.h"
#include "ui/widgets/navigationbar.h"

namespace velloran::ui {

engine::ReadingFrame viewFrame(const ScriptView& view)
{
    const ScriptSurface* surface = view.surface();
    return engine::readingFrame(surface->bandTop(), surface->bandBottom(), surface->texTop());
}

SectionMarkers::SectionMarkers(ReadingPane& pane, ScriptView& view) : QObject(&pane), m_pane(pane), m_view(view)
{
    m_ticksDue = new QTimer(this);
    m_ticksDue->setSingleShot(true);
    m_ticksDue->setInterval(0);
    connect(m_ticksDue, &QTimer::timeout, this, [this] {
        std::vector<double> units;
        if (m_enabled) {
            const engine::ReadingFrame frame = viewFrame(m_view);
            for (const double depth : stops().places)
                units.push_back(-frame.positionFor(depth));  // where the bar's marker stands then
        }
        m_view.bar()->setTicks(std::move(units));
    });
    ScriptText* tex = m_view.textBox();
    connect(tex->document(), &QTextDocument::contentsChange, this, &SectionMarkers::contentsChanged);
    // A script that comes in whole is scanned from the text it was set from: fetching a long
    // document's text back costs far more than the scan.
    connect(tex, &ScriptText::scriptSet, this, [this](const QString& grouped) {
        if (m_enabled) {
            scan(grouped);
            showTicks();
        }
    });
    connect(tex, &ScriptText::contentHeightChanged, this, &SectionMarkers::showTicks);
}

void SectionMarkers::setEnabled(bool on)
{
    if (on == m_enabled)
        return;
    m_enabled = on;
    if (on)
        rescan();
    else
        m_index.reset({});
    showTicks();
}

void SectionMarkers::rescan()
{
    QString grouped;
    const QTextDocument* document = m_view.textBox()->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block != document->begin())
            grouped += u'\n';
        grouped += block.text();
    }
    scan(grouped);
}

void SectionMarkers::scan(const QString& grouped)
{
    m_index.reset(std::u16string_view(reinterpret_cast<const char16_t*>(grouped.utf16()),
                                      static_cast<std::size_t>(grouped.size())));
}

void SectionMarkers::contentsChanged(int position, int, int added)
{
    if (!m_enabled || m_view.textBox()->settingScript())
        return;
    // Only the blocks the edit touched are scanned again; the blocks around them only move.
    const QTextDocument* document = m_view.textBox()->document();
    const int first = document->findBlock(position).blockNumber();
    const QTextBlock end = document->findBlock(position + added);
    const int last = end.isValid() ? end.blockNumber() : document->blockCount() - 1;
    const auto now = static_cast<std::size_t>(document->blockCount());
    const std::size_t before = m_index.blockCount();
    const std::size_t written = static_cast<std::size_t>(std::max(first, last) - first + 1);
    if (first < 0 || written + before < now || static_cast<std::size_t>(first) + written + before - now > before) {
        rescan();
    } else {
        std::u16string blocks;
        for (QTextBlock block = document->findBlockByNumber(first); block.isValid() && block.blockNumber() <= last;
             block = block.next()) {
            if (block.blockNumber() > first)
                blocks.push_back(u'\n');
            const QString text = block.text();
            blocks.append(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size()));
        }
        m_index.replaceBlocks(static_cast<std::size_t>(first), written + before - now, blocks);
    }
    showTicks();
}

engine::MarkerStops SectionMarkers::stops() const
{
    const ScriptText* tex = m_view.textBox();
    const double perPixel = m_view.scale().perPixel();
    engine::MarkerStops stops;
    stops.places.reserve(m_index.markers().size());
    for (const engine::Marker& marker : m_index.markers())
        stops.places.push_back(tex->lineTopAt(static_cast<int>(marker.block), static_cast<int>(marker.blockOffset)) *
                               perPixel);
    stops.lineHeight = tex->fontMetrics().lineSpacing() * perPixel;
    stops.deepest = viewFrame(m_view).depthAt(m_view.scroller().range().wrapLimit);
    return stops;
}

void SectionMarkers::showTicks()
{
    m_ticksDue->start();
}

void SectionMarkers::go(const std::function<std::optional<double>(const engine::MarkerStops&)>& pick)
{
    if (!m_enabled)
        return;
    std::optional<double> depth = pick(stops());
    // Read from the top, the lines down to the place are laid out before it is shown, and a
    // place below them was an estimate: lay them out first, then take the real place.
    ScriptText* tex = m_view.textBox();
    for (int i = 0; depth && !tex->lazyLayout() && i < 4; ++i) {
        tex->layOutThrough(static_cast<int>(*depth / m_view.scale().perPixel()) + tex->height());
        const std::optional<double> laidOut = pick(stops());
        if (laidOut == depth)
            break;
        depth = laidOut;
    }
    if (depth)
        m_pane.jumpTo(viewFrame(m_view).positionFor(*depth));
}

double SectionMarkers::reading() const
{
    return viewFrame(m_view).depthAt(m_view.scroller().position());
}

void SectionMarkers::next()
{
    go([this](const engine::MarkerStops& stops) { return engine::nextStop(stops, reading()); });
}

void SectionMarkers::previous()
{
    go([this](const engine::MarkerStops& stops) { return engine::previousStop(stops, reading()); });
}

void SectionMarkers::nth(int n)
{
    if (n > 0)
        go([n](const engine::MarkerStops& stops) { return engine::nthStop(stops, static_cast<std::size_t>(n)); });
}

}  // namespace velloran::ui
