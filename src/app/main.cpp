#include <QApplication>

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
    if (!window.Form_Load())
        return 0;
    window.show();
    return app.exec();
}
