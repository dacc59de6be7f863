// The moving surface: where the script stands on the window for a given position, and that the
// pixels reused from one position to the next are the pixels a fresh paint would give.
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <cmath>

#include "engine/scroller.h"
#include "testclasses.h"
#include "ui/script/scriptsurface.h"
#include "ui/script/scripttext.h"
#include "ui/widgets/twipscale.h"

using namespace Qt::StringLiterals;
namespace engine = velloran::engine;
using velloran::ui::ScriptSurface;
using velloran::ui::ScriptText;
using velloran::ui::TwipScale;

namespace {

constexpr double kTexTop = 2760;
constexpr double kBandTop = 495;
constexpr double kBandBottom = 5280;

QString numberedLines(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << u"line "_s + QString::number(i);
    return lines.join(u"\r\n"_s);
}

// Where the surface stands in each window: the text box's top on it, the band it is seen in.
struct Geometry {
    double texTop, bandTop, bandBottom, left, width, texLeft, texWidth, windowWidth, windowHeight;
};
constexpr Geometry kMain {kTexTop, kBandTop, kBandBottom, 240, 9975, 120, 9735, 10935, 6975};
constexpr Geometry kFull {120, 0, 9000, 0, 11505, 0, 11265, 12000, 9000};  // paused, on a small screen

// A window laid out like the main one (or the full-screen one): the surface seen in its band,
// the text box on it.
struct Stage {
    QWidget window;
    TwipScale scale = TwipScale::of(&window);  // the screen's, as a window takes it
    ScriptSurface* surface;

    explicit Stage(const QString& script, const Geometry& at = kMain)
    {
        window.resize(scale.px(at.windowWidth), scale.px(at.windowHeight));
        surface = new ScriptSurface(&window, scale, at.texTop);
        surface->setBand(at.bandTop, at.bandBottom);
        surface->setLeft(at.left);
        surface->setWidth(at.width);
        surface->setTexLeft(at.texLeft);
        surface->setTexWidth(at.texWidth);
        QFont font(u"Arial"_s);
        font.setPointSizeF(12);
        text()->setFont(font);
        text()->setPlainText(script);
        surface->setPosition(480);
        window.show();
    }

    ScriptText* text() const { return surface->text(); }

    // The whole-script option's lazy layout, left to settle: every estimate replaced.
    bool followScript()
    {
        surface->setFollowsScript(true);
        return QTest::qWaitFor([this] { return text()->layoutSettled(); });
    }

    void show(double position)
    {
        surface->setPosition(position);
        QCoreApplication::processEvents();
    }

    // The line at a point of the window, and the row it stands at.
    std::pair<QString, int> lineAt(QPoint point) const
    {
        QTextCursor cursor = text()->cursorForPosition(text()->viewport()->mapFrom(&window, point));
        cursor.movePosition(QTextCursor::StartOfLine);
        cursor.movePosition(QTextCursor::EndOfLine, QTextCursor::KeepAnchor);
        const int row = text()->viewport()->mapTo(&window, text()->cursorRect(cursor).topLeft()).y();
        return {cursor.selectedText(), row};
    }
};

}  // namespace

class ScriptSurfaceTest : public QObject {
    Q_OBJECT

private slots:
    // A line N stands N line heights below the top of the text box, which stands at the position
    // plus 2760 twips: to the pixel, wherever the surface is and however the lines are grouped.
    void linesStandWhereThePositionPutsThem_data()
    {
        QTest::addColumn<double>("position");
        QTest::addColumn<bool>("lazy");
        // Whole pixels first, where the placement must be exact; then places between pixels.
        for (const float position : {480.0f, -375.0f, -1005.0f, -120000.0f, -200010.0f, -239010.0f, 470.0f,
                                     100.0f, -1007.0f, -12345.0f, -199999.5f, -239995.0f})
            QTest::newRow(qPrintable(QString::number(double(position)))) << double(position) << false;
        // Lazily laid out, once settled, the lines stand where a full layout puts them, also far
        // beyond the classic range.
        for (const double position : {-1005.0, -239995.0, -600000.0, -812345.5})
            QTest::newRow(qPrintable(u"lazy "_s + QString::number(position))) << position << true;
    }

    void linesStandWhereThePositionPutsThem()
    {
        QFETCH(double, position);
        QFETCH(bool, lazy);
        Stage stage(numberedLines(3000));
        QVERIFY(QTest::qWaitForWindowExposed(&stage.window));
        if (lazy)
            QVERIFY(stage.followScript());
        stage.show(position);

        ScriptText* text = stage.text();
        const QTextLayout* first = text->document()->firstBlock().layout();
        QVERIFY(first && first->lineCount() > 1);
        const double lineHeight = first->lineAt(1).y() - first->lineAt(0).y();
        const double perPixel = stage.scale.perPixel();
        const double texTop = (position + kTexTop) / perPixel;

        // The line under the middle of what is seen of the band.
        const double seenTop = std::max(kBandTop / perPixel, texTop);
        const int middle = int((seenTop + kBandBottom / perPixel) / 2);
        QTextCursor cursor =
            text->cursorForPosition(text->viewport()->mapFrom(&stage.window, QPoint(100, middle)));
        cursor.movePosition(QTextCursor::StartOfLine);
        cursor.movePosition(QTextCursor::EndOfLine, QTextCursor::KeepAnchor);
        const QString line = cursor.selectedText();
        QVERIFY2(line.startsWith(u"line "_s), qPrintable(line));
        const int number = line.sliced(5).toInt();

        cursor.movePosition(QTextCursor::StartOfLine);
        const int shownAt = text->viewport()->mapTo(&stage.window, text->cursorRect(cursor).topLeft()).y();
        const double expected = texTop + number * lineHeight;
        // Between two pixels the surface and the edge of the band are each rounded to the nearest.
        const double allowed = texTop == std::round(texTop) ? 0.0 : 1.0;
        QVERIFY2(std::abs(shownAt - expected) <= allowed,
                 qPrintable(u"line %1 at %2 px, expected %3"_s.arg(number).arg(shownAt).arg(expected)));
    }

    // Whatever moves the caret or edits below what is shown, in either window, the band keeps
    // showing the same lines at the same rows: only the position moves them.
    void caretNeverMovesWhatIsShown_data()
    {
        QTest::addColumn<bool>("full");
        QTest::addColumn<QString>("keys");
        for (const bool full : {false, true}) {
            const QString window = full ? u"full-screen: "_s : u"main: "_s;
            for (const QString& keys :
                 {u"^End"_s, u"40 Down"_s, u"far, space"_s, u"PgDn"_s, u"^End, paste"_s, u"^End, x, ^Z"_s})
                QTest::newRow(qPrintable(window + keys)) << full << keys;
        }
    }

    void caretNeverMovesWhatIsShown()
    {
        QFETCH(bool, full);
        QFETCH(QString, keys);
        Stage stage(numberedLines(3000), full ? kFull : kMain);
        QVERIFY(QTest::qWaitForWindowExposed(&stage.window));
        stage.show(-5000);
        ScriptText* text = stage.text();
        text->setFocus();
        const QPoint middle(stage.window.width() / 2, stage.surface->geometry().center().y());
        QTest::mouseClick(text->viewport(), Qt::LeftButton, {},
                          text->viewport()->mapFrom(&stage.window, middle));
        const auto before = stage.lineAt(middle);
        QVERIFY2(before.first.startsWith(u"line "_s), qPrintable(before.first));

        if (keys.startsWith(u"^End"))
            QTest::keyClick(text, Qt::Key_End, Qt::ControlModifier);
        if (keys == u"40 Down")
            for (int i = 0; i < 40; ++i)
                QTest::keyClick(text, Qt::Key_Down);
        if (keys == u"far, space") {
            QTextCursor far(text->document()->findBlockByNumber(text->document()->blockCount() / 2));
            text->setTextCursor(far);
            QTest::keyClick(text, Qt::Key_Space);
        }
        if (keys == u"PgDn")
            QTest::keyClick(text, Qt::Key_PageDown);
        if (keys.endsWith(u"paste")) {
            QApplication::clipboard()->setText(numberedLines(40));
            text->paste();
        }
        if (keys.endsWith(u"^Z")) {
            QTest::keyClick(text, Qt::Key_X);
            QTest::keyClick(text, Qt::Key_Z, Qt::ControlModifier);
        }
        QCoreApplication::processEvents();
        QCOMPARE(stage.lineAt(middle), before);
    }

    // A place past the surface's end (the bar dragged past its top edge) shows an empty script,
    // black to the bottom of the band, not the window behind it; with the option on as well.
    void placePastTheEndShowsAnEmptyScript_data()
    {
        QTest::addColumn<bool>("lazy");
        QTest::addColumn<double>("beyond");  // twips past the end
        QTest::newRow("classic, just past") << false << 1000.0;
        QTest::newRow("classic, far past") << false << 60000.0;
        QTest::newRow("whole script, far past") << true << 60000.0;
    }

    void placePastTheEndShowsAnEmptyScript()
    {
        QFETCH(bool, lazy);
        QFETCH(double, beyond);
        Stage stage(numberedLines(3000));
        QVERIFY(QTest::qWaitForWindowExposed(&stage.window));
        if (lazy) {
            QVERIFY(stage.followScript());
            QVERIFY(stage.surface->lastLineGone() < -500000);  // longer than the classic surface
        }
        const double end = lazy ? stage.surface->lastLineGone() - (kBandBottom - kBandTop) : -500000.0;
        stage.show(end + kBandBottom - kBandTop - beyond);
        const QImage shown = stage.window.grab().toImage();
        const int column = stage.scale.px(5000);
        for (const double row : {kBandTop + 30, (kBandTop + kBandBottom) / 2, kBandBottom - 30})
            QCOMPARE(shown.pixelColor(column, stage.scale.px(row)), QColor(Qt::black));
    }

    // Moving reuses pixels already drawn; after a run of ticks the screen must hold exactly what
    // painting the window afresh gives.
    void screenAfterTicksIsAFreshPaint()
    {
        Stage stage(numberedLines(3000));
        QVERIFY(QTest::qWaitForWindowExposed(&stage.window));
        for (const double start : {480.0, -5000.0, -120000.0, -700000.0}) {
            if (start < engine::kWrapLimit)  // beyond the classic range: with the whole-script option
                stage.surface->setFollowsScript(true);
            double position = start;
            stage.show(position);
            for (int tick = 0; tick < 150; ++tick) {
                position -= 10;
                stage.show(position);
            }
            const QImage screen = QGuiApplication::primaryScreen()
                                      ->grabWindow(stage.window.winId())
                                      .toImage()
                                      .convertToFormat(QImage::Format_RGB32);
            const QImage fresh = stage.window.grab().toImage().convertToFormat(QImage::Format_RGB32);
            QVERIFY2(screen == fresh,
                     qPrintable(u"stale pixels after ticking from "_s + QString::number(double(start))));
        }
    }

    // The estimated height becomes the real one: laid out lazily and settled, it equals the sum of
    // every block's laid-out height, and the last line then leaves the band at the position the
    // surface reports for it.
    void settledHeightIsTheRealHeight()
    {
        QStringList lines;
        for (int i = 0; i < 1500; ++i)  // lines of varied length, so an estimate is off at first
            lines << u"line "_s + QString::number(i) + QString(i % 7 * 13, u'x');
        Stage lazy(lines.join(u"\n"_s));
        QVERIFY(QTest::qWaitForWindowExposed(&lazy.window));
        lazy.surface->setFollowsScript(true);
        lazy.show(-400000);
        QVERIFY(!lazy.text()->layoutSettled());
        QTRY_VERIFY(lazy.text()->layoutSettled());
        const QTextDocument* doc = lazy.text()->document();
        qreal real = 0;
        for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
            real += doc->documentLayout()->blockBoundingRect(block).height();
        QCOMPARE(lazy.text()->contentHeight(), real);
        QCOMPARE(lazy.surface->lastLineGone(), kBandTop - kTexTop - real * lazy.scale.perPixel());
    }
};

VELLORAN_TEST_CLASS(ScriptSurfaceTest);
#include "scriptsurface_test.moc"
