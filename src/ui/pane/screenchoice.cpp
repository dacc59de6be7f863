#include "ui/pane/screenchoice.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace velloran::ui {

namespace {

QString signedText(int value)
{
    return (value < 0 ? QStringLiteral("-") : QStringLiteral("+")) + QString::number(std::abs(value));
}

}  // namespace

QList<ScreenInfo> connectedScreens()
{
    QList<ScreenInfo> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append({screen->name(), screen->geometry()});
    return screens;
}

QString screenKey(const QList<ScreenInfo>& screens, qsizetype index)
{
    const ScreenInfo& screen = screens.at(index);
    const auto named = std::count_if(screens.begin(), screens.end(), [&screen](const ScreenInfo& other) {
        return other.name == screen.name;
    });
    if (named < 2)
        return screen.name;
    const QRect& area = screen.geometry;
    return screen.name + u' ' + QString::number(area.width()) + u'x' + QString::number(area.height()) +
           signedText(area.x()) + signedText(area.y());
}

qsizetype screenByKey(const QList<ScreenInfo>& screens, const QString& key)
{
    for (qsizetype i = 0; i < screens.size(); ++i)
        if (screenKey(screens, i) == key)
            return i;
    for (qsizetype i = 0; i < screens.size(); ++i)
        if (screens.at(i).name == key)
            return i;
    return -1;
}

QString screenLabel(const ScreenInfo& screen)
{
    const QRect& area = screen.geometry;
    return QStringLiteral("%1 (%2 x %3 at %4, %5)")
        .arg(screen.name)
        .arg(area.width())
        .arg(area.height())
        .arg(area.x())
        .arg(area.y());
}

}  // namespace velloran::ui
