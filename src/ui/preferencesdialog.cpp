#include "ui/preferencesdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace velloran::ui {

namespace {

const QString kPrimary = QStringLiteral("primary");
const QString kMainWindow = QStringLiteral("window");

QCheckBox* box(const QString& name, const QString& label, bool checked, QWidget* parent)
{
    auto* check = new QCheckBox(label, parent);
    check->setObjectName(name);
    check->setChecked(checked);
    return check;
}

}  // namespace

PreferencesDialog::PreferencesDialog(const session::Preferences& preferences, QWidget* parent)
    : QDialog(parent), m_given(preferences)
{
    setObjectName(QStringLiteral("Preferences"));
    setWindowTitle(QStringLiteral("Preferences"));
    m_mirror =
        box(QStringLiteral("Mirror"), QStringLiteral("Full screen mirrored left to right (for a glass)"),
            preferences.mirror, this);
    m_flip = box(QStringLiteral("Flip"), QStringLiteral("Full screen upside down as well"), preferences.flip,
                 this);
    m_cue = box(QStringLiteral("Cue"), QStringLiteral("Reading cue at a third of the screen"),
                preferences.cue, this);
    m_remote = box(QStringLiteral("Remote"), QStringLiteral("Presentation remote in the full-screen window"),
                   preferences.remote, this);
    // What the option takes away from typing, said where it is turned on.
    auto* remoteNote = new QLabel(
        QStringLiteral("Page Down plays or pauses, Page Up goes back one line, and Escape asks for a "
                       "second Escape before it ends the program. B, full stop and F5 then do "
                       "nothing there: they no longer type into the script, and Page Up and Page "
                       "Down no longer move its text cursor."),
        this);
    remoteNote->setObjectName(QStringLiteral("RemoteNote"));
    remoteNote->setWordWrap(true);
    remoteNote->setIndent(20);
    m_wholeScript = box(QStringLiteral("WholeScriptReachable"),
                        QStringLiteral("Whole script reachable (scroll range follows the script)"),
                        preferences.wholeScriptReachable, this);

    // The two choices by word, then every screen by the name the platform gives it; a name typed
    // in for a screen not connected now is kept.
    m_screen = new QComboBox(this);
    m_screen->setObjectName(QStringLiteral("Screen"));
    m_screen->setEditable(true);
    m_screen->addItems({kPrimary, kMainWindow});
    for (const QScreen* screen : QGuiApplication::screens())
        m_screen->addItem(screen->name());
    using Choice = session::Preferences::ScreenChoice;
    m_screen->setCurrentText(preferences.screen == Choice::Primary      ? kPrimary
                             : preferences.screen == Choice::MainWindow ? kMainWindow
                                                                        : preferences.screenName);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* form = new QFormLayout(this);
    form->addRow(m_mirror);
    form->addRow(m_flip);
    form->addRow(QStringLiteral("Full-screen window on:"), m_screen);
    form->addRow(m_cue);
    form->addRow(m_remote);
    form->addRow(remoteNote);
    form->addRow(m_wholeScript);
    form->addRow(buttons);
}

session::Preferences PreferencesDialog::chosen() const
{
    session::Preferences preferences = m_given;
    preferences.mirror = m_mirror->isChecked();
    preferences.flip = m_flip->isChecked();
    preferences.cue = m_cue->isChecked();
    preferences.remote = m_remote->isChecked();
    preferences.wholeScriptReachable = m_wholeScript->isChecked();
    using Choice = session::Preferences::ScreenChoice;
    const QString screen = m_screen->currentText().trimmed();
    preferences.screenName.clear();
    if (screen.isEmpty() || screen.compare(kPrimary, Qt::CaseInsensitive) == 0) {
        preferences.screen = Choice::Primary;
    } else if (screen.compare(kMainWindow, Qt::CaseInsensitive) == 0) {
        preferences.screen = Choice::MainWindow;
    } else {
        preferences.screen = Choice::Named;
        preferences.screenName = screen;
    }
    return preferences;
}

}  // namespace velloran::ui
