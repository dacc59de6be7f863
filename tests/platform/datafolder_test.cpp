// Where help.txt is found: beside the program for a copy run in place, in the installed data
// folder for an installed copy.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/services.h"

using namespace Qt::StringLiterals;
using velloran::platform::findDataFolder;

namespace {

struct Case {
    const char* name;
    QStringList helpFiles;  // relative to the prefix
    QString relative;       // installed data folder, relative to the program folder
    QString expected;       // relative to the prefix
};

TEST(DataFolder, HelpBesideTheProgramFirstThenTheInstalledDataFolder)
{
    const Case cases[] = {
        {"copy run in place", {u"bin/help.txt"_s}, u"../share/velloran"_s, u"bin"_s},
        {"installed copy", {u"share/velloran/help.txt"_s}, u"../share/velloran"_s, u"share/velloran"_s},
        {"both: the copy beside wins",
         {u"bin/help.txt"_s, u"share/velloran/help.txt"_s},
         u"../share/velloran"_s,
         u"bin"_s},
        {"neither", {}, u"../share/velloran"_s, u"bin"_s},
        {"data folder without help.txt", {u"share/velloran/other.txt"_s}, u"../share/velloran"_s, u"bin"_s},
        {"help.txt as a folder is not a file",
         {u"share/velloran/help.txt/x"_s},
         u"../share/velloran"_s,
         u"bin"_s},
        {"another layout",
         {u"lib/velloran-data/help.txt"_s},
         u"../lib/velloran-data"_s,
         u"lib/velloran-data"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir prefix;
        ASSERT_TRUE(prefix.isValid());
        const QDir root(prefix.path());
        ASSERT_TRUE(root.mkpath(u"bin"_s));
        for (const QString& file : c.helpFiles) {
            ASSERT_TRUE(root.mkpath(QFileInfo(root.filePath(file)).path()));
            QFile help(root.filePath(file));
            ASSERT_TRUE(help.open(QIODevice::WriteOnly));
        }
        EXPECT_EQ(findDataFolder(root.filePath(u"bin"_s), c.relative), root.filePath(c.expected));
    }
}

}  // namespace
