#include "ui/mainwindow/welcomescript.h"

#include <QFile>

namespace velloran::ui {

QString welcomeScript()
{
    // The file keeps plain LF breaks and a final one, as any text file; the script has CR LF
    // between its lines and nothing after the last.
    QFile file(QStringLiteral(":/velloran/welcome.txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("the welcome script is missing from the program's resources");
    QString text = QString::fromUtf8(file.readAll());
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text.replace(u'\n', QStringLiteral("\r\n"));
}

}  // namespace velloran::ui
