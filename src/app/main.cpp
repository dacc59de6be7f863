#include <QApplication>
#include <QSessionManager>

#include "platform/endsignals.h"
#include "platform/services.h"
#include "ui/frmset.h"
#include "ui/twips.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velloran"));
    QApplication::setOrganizationName(QStringLiteral("Velloran"));
    QApplication::setQuitOnLastWindowClosed(true);
    velloran::ui::Twips::initFromScreen();

    velloran::platform::QtServices services;
    velloran::ui::SharedValues shared;
    velloran::ui::frmSet window(services, shared);
    // A shutdown, a closed terminal, Ctrl+C and the end of the desktop session save the work too.
    velloran::platform::EndSignals endSignals;
    QObject::connect(&endSignals, &velloran::platform::EndSignals::received, &window,
                     &velloran::ui::frmSet::endFromOutside);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window,
                     [&window](QSessionManager&) { window.saveForSessionEnd(); });
    if (!window.Form_Load())
        return 0;
    window.show();
    return app.exec();
}
