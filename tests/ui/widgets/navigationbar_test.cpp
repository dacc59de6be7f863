// The position marker of the navigation bar: where it is drawn, and that it can be seen.
#include <QTest>

#include "testclasses.h"
#include "ui/widgets/navigationbar.h"
#include "ui/widgets/twipscale.h"

using velloran::ui::NavigationBar;
using velloran::ui::TwipScale;

class NavigationBarTest : public QObject {
    Q_OBJECT

private slots:
    // Classic, the marker stands at its own top, out of sight at home; with the whole-script
    // option it is kept whole inside the bar at either end, and tall enough to be seen.
    void markerStandsWhereItCanBeSeen_data()
    {
        QTest::addColumn<bool>("alwaysSeen");
        QTest::addColumn<double>("top");  // in the bar's units, 500000 over its height
        QTest::addColumn<int>("row");     // where it is drawn; -1: not at all
        QTest::addColumn<int>("rows");
        QTest::newRow("classic at home") << false << -480.0 << -1 << 0;
        QTest::newRow("classic half way") << false << 250000.0 << 100 << 2;
        QTest::newRow("seen at home") << true << -480.0 << 0 << 5;
        QTest::newRow("seen half way") << true << 250000.0 << 100 << 5;
        QTest::newRow("seen at the end") << true << 500000.0 << 195 << 5;
        QTest::newRow("seen past the end") << true << 700000.0 << 195 << 5;
    }

    void markerStandsWhereItCanBeSeen()
    {
        QFETCH(bool, alwaysSeen);
        QFETCH(double, top);
        QFETCH(int, row);
        QFETCH(int, rows);
        QWidget window;
        NavigationBar bar(&window, TwipScale::of(&window), true);
        bar.setGeometry(0, 0, 17, 200);
        bar.setScaleHeight(500000);
        bar.setMarkerAlwaysSeen(alwaysSeen);
        bar.setMarker(top, Qt::white);
        const QRect marker = bar.markerRect();
        QCOMPARE(marker.isEmpty() ? -1 : marker.top(), row);
        QCOMPARE(marker.height(), rows);
        // And it is painted there, on the bar's black.
        const QImage drawn = bar.grab().toImage();
        for (int y = 0; y < bar.height(); ++y)
            QCOMPARE(drawn.pixelColor(0, y) == Qt::white, y >= row && y < row + rows);
    }
};

VELLORAN_TEST_CLASS(NavigationBarTest);
#include "navigationbar_test.moc"
