// The full-screen window's rig options: the reflected picture, the reading cue, the screen it
// covers, the remote's keys, the Control Panel as a window of its own, and the Preferences dialog.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QSettings>

#include "frmfull_harness.h"
#include "session/preferences.h"
#include "ui/navigationbar.h"

using velloran::session::Preferences;

namespace {

QImage picture(frmFull* full)
{
    return full->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

Preferences reflected(bool mirror, bool flip)
{
    Preferences preferences;
    preferences.mirror = mirror;
    preferences.flip = flip;
    return preferences;
}

}  // namespace

class FrmFullRigTest : public QObject {
    Q_OBJECT
private slots:
    void reflectedPictureIsThePlainOneReflected_data()
    {
        QTest::addColumn<bool>("mirror");
        QTest::addColumn<bool>("flip");
        QTest::addColumn<bool>("playing");
        QTest::newRow("mirror, paused") << true << false << false;
        QTest::newRow("mirror, scrolling") << true << false << true;
        QTest::newRow("flip, paused") << false << true << false;
        QTest::newRow("mirror and flip, scrolling") << true << true << true;
    }
    void reflectedPictureIsThePlainOneReflected()
    {
        QFETCH(bool, mirror);
        QFETCH(bool, flip);
        QFETCH(bool, playing);
        Session s;
        s.main->tex()->setPlainText(u"Left aligned first line\nsecond\n\nA longer third line, read through glass"_s);
        frmFull* full = s.open();
        if (playing)
            click(full, "cPlay");
        for (const float position : {4800.0f, 3000.0f, -1234.0f}) {
            full->pane().setPosition(position);
            full->applyPreferences({});
            const QImage plain = picture(full);
            full->applyPreferences(reflected(mirror, flip));
            const QImage shown = picture(full);
            QVERIFY(shown != plain);
            QVERIFY2(shown == plain.mirrored(mirror, flip), qPrintable(QString::number(position)));
        }
    }
};

QTEST_MAIN(FrmFullRigTest)
#include "frmfull_rig_test.moc"
