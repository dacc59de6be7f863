#pragma once

#include <QList>
#include <QRect>
#include <QString>

namespace velloran::ui {

// A screen as the options see it: the name the platform gives it and where it lies.
struct ScreenInfo {
    QString name;
    QRect geometry;
};

QList<ScreenInfo> connectedScreens();  // in the platform's order

// How the options name screens[index]: by its name, followed by its geometry
// ("HDMI-1 1920x1080+1280+0") when another screen has the same name.
QString screenKey(const QList<ScreenInfo>& screens, qsizetype index);
// The index of the screen a key names, or -1. A name alone (as typed, or saved by older
// versions) picks the first screen of that name.
qsizetype screenByKey(const QList<ScreenInfo>& screens, const QString& key);
// What a list shows of a screen: its name, size and position.
QString screenLabel(const ScreenInfo& screen);

}  // namespace velloran::ui
