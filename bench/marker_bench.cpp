// Finding the markers (lines starting with '#') of a script the size of each bench script, with
// every 200th line made a marker: the whole scan of the script as the text box groups it at a load,
// and the rescan of the one block that a keystroke changes in its document. For comparison, what
// fetching the document's whole text costs: a rescan of everything should not start there.
#include <QCoreApplication>
#include <QTextBlock>
#include <QTextDocument>

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "engine/markers.h"
#include "session/textcodec.h"
#include "suites.h"
#include "ui/script/scripttext.h"
#include "ui/script/scripttextplan.h"

namespace velloran::bench {

namespace {

constexpr int kLinesPerMarker = 200;

std::u16string_view viewOf(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

QByteArray markedBytes(ScriptSize size)
{
    QByteArray bytes = scriptBytes(size);
    bytes.prepend("# ");
    int line = 0;
    for (qsizetype at = bytes.indexOf("\r\n"); at >= 0; at = bytes.indexOf("\r\n", at + 2)) {
        if (++line % kLinesPerMarker == 0)
            bytes.insert(at + 2, "# ");
    }
    return bytes;
}

struct Marked {
    QString grouped;  // as the text box's setPlainText makes it: blocks separated by '\n'
    QTextDocument document;
};

// One script per size for the whole run; gone before the application is.
std::map<ScriptSize, std::unique_ptr<Marked>>& kept()
{
    static std::map<ScriptSize, std::unique_ptr<Marked>> scripts;
    return scripts;
}

Marked& markedFor(ScriptSize size)
{
    if (kept().empty())
        qAddPostRoutine([] { kept().clear(); });
    std::unique_ptr<Marked>& marked = kept()[size];
    if (!marked) {
        marked = std::make_unique<Marked>();
        marked->grouped = ui::groupScript(session::decodeText(markedBytes(size))).text;
        marked->document.setPlainText(marked->grouped);
    }
    return *marked;
}

engine::MarkerIndex scanned(ScriptSize size)
{
    engine::MarkerIndex index(u'\n');
    index.reset(viewOf(markedFor(size).grouped));
    return index;
}

void markerScan(benchmark::State& state, ScriptSize size)
{
    const QString& grouped = markedFor(size).grouped;
    engine::MarkerIndex index(u'\n');
    for (auto _ : state)
        state.SetIterationTime(secondsOf([&] { index.reset(viewOf(grouped)); }));
    state.counters["markers"] = double(index.markers().size());
    state.counters["blocks"] = double(index.blockCount());
}

void markerFetch(benchmark::State& state, ScriptSize size)
{
    const QTextDocument& document = markedFor(size).document;
    for (auto _ : state)
        state.SetIterationTime(secondsOf([&] { benchmark::DoNotOptimize(document.toRawText()); }));
}

// What typing into the middle of the script costs: the changed block's text and its rescan.
void markerEdit(benchmark::State& state, ScriptSize size)
{
    const QTextDocument& document = markedFor(size).document;
    engine::MarkerIndex index = scanned(size);
    const QTextBlock block = document.findBlock(document.characterCount() / 2);
    const auto number = static_cast<std::size_t>(block.blockNumber());
    for (auto _ : state) {
        state.SetIterationTime(secondsOf([&] {
            const QString text = block.text();
            index.replaceBlocks(number, 1, viewOf(text));
        }));
    }
    state.counters["markers"] = double(index.markers().size());
}

}  // namespace

std::size_t markersFound(ScriptSize size)
{
    const engine::MarkerIndex index = scanned(size);
    // The blocks must be the document's, or an edit would rescan the wrong text.
    const auto blocks = static_cast<std::size_t>(markedFor(size).document.blockCount());
    return index.blockCount() == blocks ? index.markers().size() : 0;
}

std::size_t markersMade(ScriptSize size)
{
    return static_cast<std::size_t>(markedBytes(size).count("\n# ")) + 1;
}

void registerMarkerBenchmarks()
{
    for (const ScriptSize size : kAllSizes) {
        const std::string suffix = std::string("/") + sizeTag(size);
        addTimed("marker_scan" + suffix, markerScan, size);
        addTimed("marker_edit" + suffix, markerEdit, size);
        addTimed("marker_fetch" + suffix, markerFetch, size);
    }
}

}  // namespace velloran::bench
