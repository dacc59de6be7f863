// A screen reader finds every control of both windows with a name and a description, and the
// description is what the Instant Help bar says of the control wherever it says something.
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QComboBox>
#include <QScrollBar>

#include "harness.h"
#include "testclasses.h"

namespace {

bool isControl(QWidget* widget)
{
    return qobject_cast<QAbstractButton*>(widget) || qobject_cast<QAbstractScrollArea*>(widget) ||
           qobject_cast<QComboBox*>(widget) || widget->objectName() == u"Tip" ||
           (qobject_cast<QAbstractSlider*>(widget) && !qobject_cast<QScrollBar*>(widget));
}

// The controls of the window, not the parts inside them (a list's scroll bars, a box's popup).
QList<QWidget*> controlsOf(QWidget* window)
{
    QList<QWidget*> controls;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        bool inside = false;
        for (QWidget* up = widget->parentWidget(); up && up != window; up = up->parentWidget())
            inside = inside || isControl(up);
        if (isControl(widget) && !inside)
            controls << widget;
    }
    return controls;
}

// What the Instant Help bar shows once the pointer has moved over the control (the spinners'
// texts come from the labels around them); empty when it shows nothing new.
QString instantHelp(QWidget* window, QWidget* control)
{
    const QString name = control->objectName();
    QWidget* hovered = name == u"sSpeed"  ? child(window, "lSpeed")
                       : name == u"sFreq" ? child(window, "lFreq")
                                          : control;
    if (auto* area = qobject_cast<QAbstractScrollArea*>(hovered))
        hovered = area->viewport();
    if (!hovered->isVisible() || !hovered->window()->geometry().contains(hovered->mapToGlobal(QPoint(2, 2))))
        return QString();
    auto* bar = child<QLabel>(window, "lHelp");
    bar->clear();
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), hovered->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(hovered, &move);
    return bar->text();
}

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    void everyControlIsNamedAndDescribed_data()
    {
        QTest::addColumn<bool>("fullScreen");
        QTest::newRow("main window") << false;
        QTest::newRow("full-screen window") << true;
    }
    void everyControlIsNamedAndDescribed()
    {
        QFETCH(bool, fullScreen);
        Harness s;
        QVERIFY(s.start(true));
        QWidget* window = fullScreen ? static_cast<QWidget*>(s.openFullScreen()) : s.window.get();
        if (!fullScreen)
            click(window, "cFile");  // the TextFinder's controls shown too
        QStringList names;
        int described = 0;
        for (QWidget* control : controlsOf(window)) {
            const QString which = control->objectName();
            const QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(control);
            QVERIFY2(reader, qPrintable(which));
            const QString name = reader->text(QAccessible::Name);
            const QString description = reader->text(QAccessible::Description);
            QVERIFY2(!name.isEmpty() && !description.isEmpty(), qPrintable(which));
            QVERIFY2(!names.contains(name), qPrintable(which + u": "_s + name));
            names << name;
            if (const QString help = instantHelp(window, control); !help.isEmpty()) {
                QVERIFY2(help.startsWith(description), qPrintable(which + u": "_s + help));
                ++described;
            }
        }
        // The scan found the controls, and the bar spoke of most of them.
        QVERIFY2(names.size() >= (fullScreen ? 18 : 27), qPrintable(names.join(u", ")));
        QVERIFY2(described >= (fullScreen ? 9 : 17), qPrintable(QString::number(described)));
    }
};

VELLORAN_TEST_CLASS(AccessibilityTest);
#include "accessibility_test.moc"
