#pragma once

// The full-screen window's widget tests share this: a main window over a fresh program folder,
// switched to full screen by its own button, and the ways the tests press and read its controls.
#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cmath>
#include <memory>

#include "fakeservices.h"
#include "manualtimers.h"
#include "ui/arrowspinner.h"
#include "ui/frmfull.h"
#include "ui/frmset.h"
#include "ui/readingpane.h"
#include "ui/scriptsurface.h"
#include "ui/scripttext.h"
#include "widgettools.h"

using namespace Qt::StringLiterals;
using velloran::ui::frmFull;

namespace fullharness {

template <typename T = QWidget> T* child(QWidget* window, const char* name)
{
    T* found = window->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

void click(QWidget* window, const char* name, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(child(window, name), button);
}

QString caption(QWidget* window, const char* name)
{
    return child<QLabel>(window, name)->text();
}

void setSpinner(QWidget* window, const char* name, int value)
{
    child<velloran::ui::ArrowSpinner>(window, name)->setValue(value);
}

// One expiry of the running tick timer, delivered at once instead of waited for.
void tick(QWidget* window)
{
    QVERIFY(expireNow(child<QTimer>(window, "tScroll")));
}

// A key as the user types it: to the focused control, the window seeing it first.
void key(Qt::Key code, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), code, modifiers);
}

// An Alt shortcut, which clicks its button at once.
void altKey(QWidget* window, Qt::Key code, const char* button)
{
    QSignalSpy clicked(child<QAbstractButton>(window, button), &QAbstractButton::clicked);
    key(code, Qt::AltModifier);
    QCOMPARE(clicked.count(), 1);
}

// Twips a pixel on the screen the windows open on.
double twipsPerPixel()
{
    return 1440 / QGuiApplication::primaryScreen()->logicalDotsPerInchY();
}

QColor textColour(frmFull* full)
{
    return full->tex()->palette().color(QPalette::Text);
}

// A main window over a fresh program folder, switched to full screen by its own button. The
// slowest speed keeps the real tick timer out of the way of the ticks the tests deliver.
struct Session {
    QTemporaryDir folder;
    FakeServices services;
    velloran::ui::SharedValues shared;
    std::unique_ptr<velloran::ui::frmSet> main;
    QPointer<frmFull> full;

    Session()
    {
        services.folder = folder.path();
        main = std::make_unique<velloran::ui::frmSet>(services, shared);
        main->Form_Load();
        setSpinner(main.get(), "sSpeed", 2000);
        main->show();
    }
    ~Session() { delete full.data(); }

    frmFull* open()
    {
        click(main.get(), "cFull");
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == u"frmFull" && window->isVisible())
                full = qobject_cast<frmFull*>(window);
        if (!full || !QTest::qWaitForWindowActive(full))
            qFatal("the full-screen window did not open");
        full->tex()->setFocus();
        return full;
    }
    QString designateBackup(const QByteArray& content)
    {
        const QString path = folder.filePath(u"backup.txt"_s);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write the backup script");
        main->setBackupPath(path);
        return path;
    }
    void writePreferences(const QByteArray& content)
    {
        QFile file(main->preferencesFile());
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write the preferences");
    }
    QByteArray settingsBytes() const
    {
        QFile file(main->settingsFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

}  // namespace fullharness

using namespace fullharness;
