// Getting a script in and out: loading a file, restoring and writing Settings.ini. As in the
// window benchmarks, each timed region ends once the window has repainted what changed.
#include <QDir>

#include <string>

#include "benchwindow.h"
#include "session/textcodec.h"
#include "suites.h"
#include "ui/mainwindow/welcomescript.h"
#include "ui/script/scripttext.h"

namespace velloran::bench {

namespace {

QString settingsPath(const BenchWindow& bench)
{
    return QDir(bench.folder()).filePath(QStringLiteral("Settings.ini"));
}

// File read, decode, into Tex, back to the home position and the window repainted.
void loadScript(benchmark::State& state, ScriptSize size)
{
    BenchWindow& bench = BenchWindow::forSize(size);
    bench.setPlaying(false);
    for (auto _ : state) {
        state.SetIterationTime(secondsOf([&] {
            bench.pane().loadScriptFromFile(bench.scriptPath(), true);
            bench.settle();
        }));
    }
}

// As at start-up: the text area holds the welcome script when the saved one is restored.
void loadSettings(benchmark::State& state, ScriptSize size)
{
    BenchWindow& bench = BenchWindow::forSize(size);
    bench.setPlaying(false);
    testing::writeBytes(settingsPath(bench), settingsWithScript(scriptBytes(size)));
    const QString welcome = ui::welcomeScript();
    for (auto _ : state) {
        bench.text().setPlainText(welcome);
        bench.settle();
        state.SetIterationTime(secondsOf([&] {
            bench.window().LoadSettings();
            bench.pane().ShowPosition();
            bench.settle();
        }));
    }
}

// SaveSettings with its PrepareText; `quoted` gives the script double quotes for it to replace.
void saveSettings(benchmark::State& state, ScriptSize size, bool quoted)
{
    BenchWindow& bench = BenchWindow::forSize(size);
    bench.setPlaying(false);
    const QString script = session::decodeText(quotedScriptBytes(size));
    for (auto _ : state) {
        if (quoted) {  // the previous save replaced them
            bench.text().setPlainText(script);
            bench.settle();
        }
        state.SetIterationTime(secondsOf([&] {
            bench.window().SaveSettings();
            bench.settle();
        }));
    }
    bench.pane().loadScriptFromFile(bench.scriptPath(), true);
    bench.settle();
}

}  // namespace

void registerScriptBenchmarks()
{
    for (const ScriptSize size : kAllSizes) {
        const std::string suffix = std::string("/") + sizeTag(size);
        addTimed("load_script" + suffix, loadScript, size);
        addTimed("load_settings" + suffix, loadSettings, size);
        addTimed("save_settings" + suffix, saveSettings, size, false);
        addTimed("save_settings_quoted" + suffix, saveSettings, size, true);
    }
}

}  // namespace velloran::bench
