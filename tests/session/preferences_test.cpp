#include "session/preferences.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>

using namespace velloran::session;
using namespace Qt::StringLiterals;
using Screen = Preferences::ScreenChoice;
using velloran::testing::HangGuard;

namespace {

struct PreferencesCase {
    const char* file;  // the whole of Preferences.ini
    Preferences expected;
};

Preferences with(auto change)
{
    Preferences preferences;
    change(preferences);
    return preferences;
}

class PreferencesFile : public ::testing::TestWithParam<PreferencesCase> {
protected:
    QTemporaryDir m_dir;
    QString path() const { return preferencesPath(m_dir.path()); }
    void write(const QByteArray& bytes) const
    {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

TEST_P(PreferencesFile, ReadsWhatItCanAndKeepsTheDefaultForTheRest)
{
    write(GetParam().file);
    EXPECT_EQ(loadPreferences(path()), GetParam().expected) << GetParam().file;
}

INSTANTIATE_TEST_SUITE_P(
    Files, PreferencesFile,
    ::testing::Values(PreferencesCase {"", Preferences {}},
                      PreferencesCase {"[FullScreen]\nMirror=true\nFlip=1\nCue=yes\nRemote=false\n"
                                       "[Script]\nWholeScriptReachable=on\n",
                                       with([](Preferences& p) {
                                           p.mirror = p.flip = p.cue = p.wholeScriptReachable = true;
                                           p.remote = false;
                                       })},
                      // A word that is neither keeps the default, where QVariant would read true.
                      PreferencesCase {"[FullScreen]\nMirror=banana\nRemote=maybe\nCue=\n", Preferences {}},
                      PreferencesCase {"[FullScreen]\nMirror = TRUE \nRemote=Off\n", with([](Preferences& p) {
                                           p.mirror = true;
                                           p.remote = false;
                                       })},
                      PreferencesCase {"[FullScreen]\nScreen=window\n",
                                       with([](Preferences& p) { p.screen = Screen::MainWindow; })},
                      PreferencesCase {"[FullScreen]\nScreen=Primary\n", Preferences {}},
                      PreferencesCase {"[FullScreen]\nScreen=HDMI-1\n", with([](Preferences& p) {
                                           p.screen = Screen::Named;
                                           p.screenName = u"HDMI-1"_s;
                                       })},
                      PreferencesCase {"[FullScreen]\nScreen=Dell U2419, left\n", with([](Preferences& p) {
                                           p.screen = Screen::Named;
                                           p.screenName = u"Dell U2419, left"_s;
                                       })},
                      PreferencesCase {"[Play]\nCountdown=3\n[Display]\nTimeLeft=true\n[Script]\nMarkers=1\n"
                                       "[Keys]\nPace=on\n",
                                       with([](Preferences& p) {
                                           p.countdown = 3;
                                           p.timeLeft = p.markers = p.paceKeys = true;
                                       })},
                      // Out of range or not a number: the default (each said on standard error).
                      PreferencesCase {"[Play]\nCountdown=11\n[Display]\nTimeLeft=soon\n", Preferences {}},
                      PreferencesCase {"[Play]\nCountdown=-1\n", Preferences {}},
                      PreferencesCase {"[Play]\nCountdown=2.5\n[Keys]\nPace=fast\n", Preferences {}},
                      PreferencesCase {"[Play]\nCountdown= 10 \n",
                                       with([](Preferences& p) { p.countdown = 10; })},
                      PreferencesCase {"[Voice]\nFollow=on\nDevice=USB Mic, left\nModel= /m/en \n"
                                       "Dictionary=/m/d\nMarkWord=yes\n",
                                       with([](Preferences& p) {
                                           p.voice = {true, u"USB Mic, left"_s, u"/m/en"_s, u"/m/d"_s, true};
                                       })},
                      // Keys in the wrong group are not the options.
                      PreferencesCase {"[General]\nMirror=true\n[Script]\nCue=true\n[Script]\nFollow=1\n",
                                       Preferences {}}));

TEST(Preferences, ABadTimingValueIsSaidOnStandardError)
{
    QTemporaryDir dir;
    QFile file(preferencesPath(dir.path()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Play]\nCountdown=twelve\n[Script]\nMarkers=maybe\n");
    file.close();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(loadPreferences(file.fileName()), Preferences {});
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("Countdown \"twelve\""), std::string::npos) << said;
    EXPECT_NE(said.find("Markers \"maybe\""), std::string::npos) << said;
}

TEST(Preferences, MissingFileGivesTheDefaultsAndIsNotCreated)
{
    QTemporaryDir dir;
    const QString path = preferencesPath(dir.path());
    EXPECT_EQ(path, dir.path() + u"/Preferences.ini"_s);
    EXPECT_EQ(loadPreferences(path), Preferences {});
    EXPECT_FALSE(QFile::exists(path));
}

TEST(Preferences, WhatIsSavedReadsBack)
{
    QTemporaryDir dir;
    const QString path = preferencesPath(dir.path());
    for (const Preferences& saved : {Preferences {}, with([](Preferences& p) {
                                         p.mirror = p.cue = true;
                                         p.screen = Screen::MainWindow;
                                     }),
                                     with([](Preferences& p) {
                                         p.countdown = 7;
                                         p.timeLeft = p.paceKeys = true;
                                     }),
                                     with([](Preferences& p) {
                                         p.flip = p.wholeScriptReachable = p.markers = true;
                                         p.remote = false;
                                         p.screen = Screen::Named;
                                         p.screenName = u"DP-2, right"_s;
                                         p.voice = {true, u"Mic \"2\", left"_s, u"/a b/en-us"_s, {}, true};
                                     })}) {
        ASSERT_TRUE(savePreferences(path, saved));
        EXPECT_EQ(loadPreferences(path), saved);
    }
    // Nothing can be created under a regular file, not even by root.
    QFile plain(dir.filePath(u"plain"_s));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    EXPECT_FALSE(savePreferences(dir.filePath(u"plain/Preferences.ini"_s), Preferences {}));
}

TEST(Preferences, AFileThatIsNotRegularGivesTheDefaultsAndIsReplacedBySaving)
{
    QTemporaryDir dir;
    const QString path = preferencesPath(dir.path());
    Preferences chosen;
    chosen.cue = true;
    for (const char* kind : {"pipe", "folder"}) {
        ASSERT_TRUE(kind == std::string("pipe") ? ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0
                                                : QDir().mkpath(path));
        const HangGuard guard(20);  // an open that waits on the pipe fails here
        EXPECT_EQ(loadPreferences(path), Preferences {}) << kind;
        // A pipe is replaced by the saved file; a folder cannot be, and the save says so.
        EXPECT_EQ(savePreferences(path, chosen), kind == std::string("pipe")) << kind;
        EXPECT_EQ(loadPreferences(path), kind == std::string("pipe") ? chosen : Preferences {}) << kind;
        ASSERT_TRUE(QFile::remove(path) || QDir(path).removeRecursively());
    }
}

}  // namespace
