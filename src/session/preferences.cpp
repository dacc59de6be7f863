#include "session/preferences.h"

#include <QSettings>

namespace velloran::session {

namespace {

const QString kMirror = QStringLiteral("FullScreen/Mirror");
const QString kFlip = QStringLiteral("FullScreen/Flip");
const QString kScreen = QStringLiteral("FullScreen/Screen");
const QString kCue = QStringLiteral("FullScreen/Cue");
const QString kRemote = QStringLiteral("FullScreen/Remote");
const QString kWholeScript = QStringLiteral("Script/WholeScriptReachable");

const QString kPrimary = QStringLiteral("primary");
const QString kMainWindow = QStringLiteral("window");

// A hand-edited value is read strictly: QVariant would take any other word for true.
bool readSwitch(const QSettings& file, const QString& key, bool fallback)
{
    const QString value = file.value(key).toString().trimmed().toLower();
    if (value == u"true" || value == u"1" || value == u"yes" || value == u"on")
        return true;
    if (value == u"false" || value == u"0" || value == u"no" || value == u"off")
        return false;
    return fallback;
}

}  // namespace

QString preferencesPath(const QString& folder)
{
    return folder + u"/Preferences.ini";
}

Preferences loadPreferences(const QString& path)
{
    Preferences preferences;
    const QSettings file(path, QSettings::IniFormat);
    preferences.mirror = readSwitch(file, kMirror, preferences.mirror);
    preferences.flip = readSwitch(file, kFlip, preferences.flip);
    preferences.cue = readSwitch(file, kCue, preferences.cue);
    preferences.remote = readSwitch(file, kRemote, preferences.remote);
    preferences.wholeScriptReachable = readSwitch(file, kWholeScript, preferences.wholeScriptReachable);

    // An unquoted name with a comma in it comes back as a list.
    const QVariant value = file.value(kScreen);
    const QString screen =
        (value.typeId() == QMetaType::QStringList ? value.toStringList().join(u", ") : value.toString())
            .trimmed();
    if (screen.compare(kMainWindow, Qt::CaseInsensitive) == 0) {
        preferences.screen = Preferences::ScreenChoice::MainWindow;
    } else if (!screen.isEmpty() && screen.compare(kPrimary, Qt::CaseInsensitive) != 0) {
        preferences.screen = Preferences::ScreenChoice::Named;
        preferences.screenName = screen;
    }
    return preferences;
}

bool savePreferences(const QString& path, const Preferences& preferences)
{
    QSettings file(path, QSettings::IniFormat);
    file.setValue(kMirror, preferences.mirror);
    file.setValue(kFlip, preferences.flip);
    switch (preferences.screen) {
    case Preferences::ScreenChoice::Primary: file.setValue(kScreen, kPrimary); break;
    case Preferences::ScreenChoice::MainWindow: file.setValue(kScreen, kMainWindow); break;
    case Preferences::ScreenChoice::Named: file.setValue(kScreen, preferences.screenName); break;
    }
    file.setValue(kCue, preferences.cue);
    file.setValue(kRemote, preferences.remote);
    file.setValue(kWholeScript, preferences.wholeScriptReachable);
    file.sync();
    return file.status() == QSettings::NoError;
}

}  // namespace velloran::session
