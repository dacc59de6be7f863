#include "harness.h"

#include <QApplication>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>
#include <cmath>

#include "ui/pane/readingpane.h"
#include "ui/script/scripttext.h"

Harness::Harness()
{
    services.folder = folder.path();
    session = std::make_unique<velloran::session::AppSession>(services);
    frmFull::offerTo(*session);
}

Harness::~Harness()
{
    delete full.data();
    window.reset();
}

void Harness::write(const QString& name, const QByteArray& bytes) const
{
    QVERIFY(velloran::testing::writeBytes(path(name), bytes));
}

QByteArray Harness::read(const QString& name) const
{
    return velloran::testing::readBytes(path(name));
}

void Harness::writePreferences(const QByteArray& content) const
{
    if (!velloran::testing::writeBytes(session->preferencesFile(), content))
        qFatal("cannot write the preferences");
}

QByteArray Harness::settingsBytes() const
{
    return velloran::testing::readBytes(session->settingsFile());
}

QString Harness::designateBackup(const QByteArray& content)
{
    const QString backup = path(u"backup.txt"_s);
    if (!velloran::testing::writeBytes(backup, content))
        qFatal("cannot write the backup script");
    session->setBackupPath(backup);
    return backup;
}

bool Harness::start(bool slowest)
{
    window = std::make_unique<frmSet>(*session);
    time = std::make_unique<ManualTimers>(QList<QTimer*> {timer("tScroll"), timer("tTime")});
    if (!window->Form_Load())
        return false;
    if (slowest)
        widgettools::setSpinner(window.get(), "sSpeed", 2000);
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window.get());
}

frmFull* Harness::openFullScreen()
{
    QTest::mouseClick(child("cFull"), Qt::LeftButton);
    for (QWidget* shown : QApplication::topLevelWidgets())
        if (shown->objectName() == u"frmFull" && shown->isVisible())
            full = qobject_cast<frmFull*>(shown);
    if (!full || !QTest::qWaitForWindowActive(full))
        qFatal("the full-screen window did not open");
    widgettools::texOf(full)->setFocus();
    return full;
}

QTimer* Harness::timer(const char* name) const
{
    if (auto* found = session->findChild<QTimer*>(QString::fromLatin1(name)))
        return found;
    return child<QTimer>(name);
}

QString Harness::text(const char* label) const
{
    return child<QLabel>(label)->text();
}

int Harness::px(double twips) const
{
    return static_cast<int>(std::lround(twips * window->screen()->logicalDotsPerInchY() / 1440));
}

bool Harness::expire(const char* name) const
{
    return time->expire(timer(name));
}

QString Harness::notice() const
{
    const QLabel* shown = child<QLabel>("lNotice");
    return shown->isVisible() ? shown->text() : QString();
}

float Harness::position() const
{
    return pane().scroller().position();
}

QString Harness::script() const
{
    return tex()->toPlainText();
}

void Harness::key(Qt::Key key, Qt::KeyboardModifiers modifiers) const
{
    QTest::keyClick(window->windowHandle(), key, modifiers);
}

void Harness::moveHeld(QWidget* widget, QPointF pos, Qt::MouseButtons held)
{
    QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

void Harness::hover(QWidget* widget, QPoint pos)
{
    // From outside the window first: a pointer already at the target would not move.
    QCursor::setPos(widget->window()->geometry().topLeft() - QPoint(5, 5));
    QTest::mouseMove(widget, pos.isNull() ? widget->rect().center() : pos);
}

void Harness::doubleClick(QWidget* widget, QPoint pos)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, pos);
    QTest::mouseDClick(widget, Qt::LeftButton, Qt::NoModifier, pos);
    QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, pos);
}

void prepare(Harness& h, const QString& backup)
{
    h.write(u"Settings.ini"_s, "2000,10,27.75,-5000,\"" + backup.toUtf8() + "\",2,5,\"script\"\r\n");
}

bool dropOn(QWidget* target, const QMimeData& data)
{
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return enter.isAccepted();
}

void openTextFinder(Harness& h)
{
    QTest::mouseClick(h.child("cFile"), Qt::LeftButton);
}

void expectUntouched(Harness& h)
{
    QCOMPARE(h.script(), u"script"_s);
    QCOMPARE(h.position(), -5000.0f);
    QCOMPARE(h.text("lTime"), u"Run Time  2 : 5"_s);
}
