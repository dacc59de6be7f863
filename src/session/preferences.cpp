#include "session/preferences.h"

#include <QSettings>
#include <QTemporaryFile>

#include "engine/countdown.h"
#include "session/logging.h"
#include "session/safefile.h"

namespace velloran::session {

namespace {

const QString kMirror = QStringLiteral("FullScreen/Mirror");
const QString kFlip = QStringLiteral("FullScreen/Flip");
const QString kScreen = QStringLiteral("FullScreen/Screen");
const QString kCue = QStringLiteral("FullScreen/Cue");
const QString kRemote = QStringLiteral("FullScreen/Remote");
const QString kWholeScript = QStringLiteral("Script/WholeScriptReachable");
const QString kCountdown = QStringLiteral("Play/Countdown");
const QString kTimeLeft = QStringLiteral("Display/TimeLeft");
const QString kMarkers = QStringLiteral("Script/Markers");
const QString kPaceKeys = QStringLiteral("Keys/Pace");
const QString kFollow = QStringLiteral("Voice/Follow");
const QString kDevice = QStringLiteral("Voice/Device");
const QString kModel = QStringLiteral("Voice/Model");
const QString kDictionary = QStringLiteral("Voice/Dictionary");
const QString kMarkWord = QStringLiteral("Voice/MarkWord");

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

// The same, with a word that is neither said on standard error.
bool readSwitchTold(const QSettings& file, const QString& key, bool fallback)
{
    const bool read = readSwitch(file, key, fallback);
    const QString value = file.value(key).toString().trimmed();
    if (!value.isEmpty() && read == fallback && readSwitch(file, key, !fallback) != fallback)
        qCWarning(lcSession).noquote() << QStringLiteral("[%1] %2 \"%3\" is neither true nor false; %4 is used")
                                              .arg(key.section(u'/', 0, 0), key.section(u'/', 1), value,
                                                   fallback ? QStringLiteral("true") : QStringLiteral("false"));
    return read;
}

constexpr qint64 kMaxPreferencesBytes = 64 * 1024;

// QSettings opens its file by name, blocking on a pipe and taking whatever stands there. So the
// file is read as Settings.ini is (a regular file only, opened without blocking) into a private
// copy that QSettings reads and writes; a missing file gives an empty copy. A file that cannot be
// read is logged and gives no copy to read, or an empty one to replace it with.
class PrivateCopy {
public:
    enum class Use { Read, Replace };
    PrivateCopy(const QString& path, Use use)
    {
        const FileRead read = readFile(path, kMaxPreferencesBytes);
        if (!read.bytes && read.failure != ReadFailure::Missing) {
            qCWarning(lcSession).noquote() << "the options in" << path << "cannot be read:" << read.reason;
            if (use == Use::Read)
                return;
        }
        const QByteArray bytes = read.bytes.value_or(QByteArray());
        m_valid = m_copy.open() && m_copy.write(bytes) == bytes.size() && m_copy.flush();
    }
    bool valid() const { return m_valid; }
    QString fileName() const { return m_copy.fileName(); }

private:
    QTemporaryFile m_copy;
    bool m_valid = false;
};

}  // namespace

QString preferencesPath(const QString& folder)
{
    return folder + u"/Preferences.ini";
}

namespace {

// An unquoted value with a comma in it comes back as a list.
QString readText(const QSettings& file, const QString& key)
{
    const QVariant value = file.value(key);
    return (value.typeId() == QMetaType::QStringList ? value.toStringList().join(u", ") : value.toString())
        .trimmed();
}

}  // namespace

Preferences loadPreferences(const QString& path)
{
    Preferences preferences;
    const PrivateCopy copy(path, PrivateCopy::Use::Read);
    if (!copy.valid())
        return preferences;
    const QSettings file(copy.fileName(), QSettings::IniFormat);
    preferences.mirror = readSwitch(file, kMirror, preferences.mirror);
    preferences.flip = readSwitch(file, kFlip, preferences.flip);
    preferences.cue = readSwitch(file, kCue, preferences.cue);
    preferences.remote = readSwitch(file, kRemote, preferences.remote);
    preferences.wholeScriptReachable = readSwitch(file, kWholeScript, preferences.wholeScriptReachable);
    const engine::CountdownSetting countdown = engine::readCountdown(file.value(kCountdown).toString().toStdString());
    if (!countdown.problem.empty())
        qCWarning(lcSession).noquote() << QString::fromStdString(countdown.problem);
    preferences.countdown = countdown.seconds;
    preferences.timeLeft = readSwitchTold(file, kTimeLeft, preferences.timeLeft);
    preferences.markers = readSwitchTold(file, kMarkers, preferences.markers);
    preferences.paceKeys = readSwitchTold(file, kPaceKeys, preferences.paceKeys);
    preferences.voice.follow = readSwitch(file, kFollow, preferences.voice.follow);
    preferences.voice.device = readText(file, kDevice);
    preferences.voice.model = readText(file, kModel);
    preferences.voice.dictionary = readText(file, kDictionary);
    preferences.voice.markWord = readSwitch(file, kMarkWord, preferences.voice.markWord);

    const QString screen = readText(file, kScreen);
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
    const PrivateCopy copy(path, PrivateCopy::Use::Replace);
    if (!copy.valid())
        return false;
    QSettings file(copy.fileName(), QSettings::IniFormat);
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
    file.setValue(kCountdown, preferences.countdown);
    file.setValue(kTimeLeft, preferences.timeLeft);
    file.setValue(kMarkers, preferences.markers);
    file.setValue(kPaceKeys, preferences.paceKeys);
    file.setValue(kFollow, preferences.voice.follow);
    file.setValue(kDevice, preferences.voice.device);
    file.setValue(kModel, preferences.voice.model);
    file.setValue(kDictionary, preferences.voice.dictionary);
    file.setValue(kMarkWord, preferences.voice.markWord);
    file.sync();
    if (file.status() != QSettings::NoError)
        return false;
    const auto written = readWholeFile(copy.fileName(), kMaxPreferencesBytes);
    return written && writeFileSafely(path, *written);
}

}  // namespace velloran::session
