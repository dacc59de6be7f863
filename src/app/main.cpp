#include <QApplication>
#include <QSessionManager>
#include <cstdio>
#include <cstring>

#include "platform/services.h"
#include "session/appsession.h"
#include "ui/fullscreen/frmfull.h"
#include "ui/mainwindow/frmset.h"
#include "ui/pane/voicecontrol.h"

namespace {

constexpr const char* kUsage =
    "Usage: velloran [--help | --version | --voice-input FILE]\n"
    "\n"
    "Velloran scrolls a plain-text script steadily up its window, so that someone\n"
    "reading it aloud keeps their eyes at one height. Everything else happens in\n"
    "the window: type, load, drop or paste the script there and press PLAY.\n"
    "\n"
    "  --help     print this text and end\n"
    "  --version  print the version and end\n"
    "  --voice-input FILE\n"
    "             when following the reader's voice (Alt+V), hear this WAV file\n"
    "             (16-bit PCM), in real time, instead of the microphone\n"
    "\n"
    "The working state, script included, is kept in Settings.ini: beside the\n"
    "program for a copy run from its own writable folder, otherwise in\n"
    "~/.config/Velloran/. Escape saves it and quits. See velloran(1).\n";

// The two answers any Linux program gives, before Qt starts, so they need no display. Every
// other argument is ignored.
bool answeredFromCommandLine(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return true;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("velloran %s\n", VELLORAN_VERSION);
            return true;
        }
    }
    return false;
}

// The audio file given with --voice-input; empty when none.
QString voiceInput(int argc, char* argv[])
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--voice-input") == 0)
            return QString::fromLocal8Bit(argv[i + 1]);
    return {};
}

}  // namespace

int main(int argc, char* argv[])
{
    if (answeredFromCommandLine(argc, argv))
        return 0;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velloran"));
    QApplication::setOrganizationName(QStringLiteral("Velloran"));
    QApplication::setApplicationVersion(QStringLiteral(VELLORAN_VERSION));
    QApplication::setQuitOnLastWindowClosed(true);

    velloran::platform::QtServices services;
    velloran::session::AppSession session(services);
    velloran::ui::frmFull::offerTo(session);
    velloran::ui::frmSet window(session);
    // A shutdown, a closed terminal, Ctrl+C and the end of the desktop session save the work too.
    session.listenForEndSignals();
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &session,
                     [&session](QSessionManager&) { session.saveForSessionEnd(); });
    velloran::ui::VoiceControl::of(session).setInputFile(voiceInput(argc, argv));
    if (!window.Form_Load())
        return 0;
    window.show();
    return app.exec();
}
