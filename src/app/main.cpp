#include <QApplication>
#include <QSessionManager>
#include <cstdio>
#include <cstring>

#include "platform/services.h"
#include "session/appsession.h"
#include "ui/fullscreen/frmfull.h"
#include "ui/mainwindow/frmset.h"

namespace {

constexpr const char* kUsage =
    "Usage: velloran [--help | --version]\n"
    "\n"
    "Velloran scrolls a plain-text script steadily up its window, so that someone\n"
    "reading it aloud keeps their eyes at one height. Everything else happens in\n"
    "the window: type, load, drop or paste the script there and press PLAY.\n"
    "\n"
    "  --help     print this text and end\n"
    "  --version  print the version and end\n"
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
    if (!window.Form_Load())
        return 0;
    window.show();
    return app.exec();
}
