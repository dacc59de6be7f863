#include "ui/mainwindow/preferencesdialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QSpinBox>
#include <QLineEdit>

#include "engine/countdown.h"
#include "ui/pane/screenchoice.h"

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

QLineEdit* field(const QString& name, const QString& text, const QString& placeholder, QWidget* parent)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    edit->setPlaceholderText(placeholder);
    edit->setClearButtonEnabled(true);
    return edit;
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

    m_countdown = new QSpinBox(this);
    m_countdown->setObjectName(QStringLiteral("Countdown"));
    m_countdown->setAccessibleName(QStringLiteral("Countdown before the scroll starts, in seconds"));
    m_countdown->setRange(0, engine::kLongestCountdown);
    m_countdown->setSpecialValueText(QStringLiteral("none"));
    m_countdown->setSuffix(QStringLiteral(" s"));
    m_countdown->setValue(preferences.countdown);
    m_timeLeft = box(QStringLiteral("TimeLeft"),
                     QStringLiteral("Time left at the current pace (and the run time in full screen)"),
                     preferences.timeLeft, this);
    m_markers = box(QStringLiteral("Markers"),
                    QStringLiteral("Lines starting with # are markers: Alt+Right, Alt+Left, Alt+1 to Alt+9"),
                    preferences.markers, this);
    m_paceKeys = box(QStringLiteral("PaceKeys"), QStringLiteral("Alt+Up faster, Alt+Down slower"),
                     preferences.paceKeys, this);

    // The two choices by word, then every screen with its size and position, which tell apart
    // two screens of one name; a name typed in for a screen not connected now is kept.
    m_screen = new QComboBox(this);
    m_screen->setObjectName(QStringLiteral("Screen"));
    m_screen->setAccessibleName(QStringLiteral("Full-screen window on"));
    m_screen->setEditable(true);
    m_screen->addItems({kPrimary, kMainWindow});
    const QList<ScreenInfo> screens = connectedScreens();
    for (qsizetype i = 0; i < screens.size(); ++i)
        m_screen->addItem(screenLabel(screens.at(i)), screenKey(screens, i));
    using Choice = session::Preferences::ScreenChoice;
    const int saved = m_screen->findData(preferences.screenName);
    if (preferences.screen == Choice::Named && saved >= 0)
        m_screen->setCurrentIndex(saved);
    else
        m_screen->setCurrentText(preferences.screen == Choice::Primary      ? kPrimary
                                 : preferences.screen == Choice::MainWindow ? kMainWindow
                                                                            : preferences.screenName);

    const session::Preferences::Voice& voice = preferences.voice;
    m_follow = box(QStringLiteral("Follow"), QStringLiteral("Follow the reader's voice (Alt+V)"),
                   voice.follow, this);
    auto* voiceNote = new QLabel(
        QStringLiteral("While on, the microphone is listened to and the script moves with what is read "
                       "from it; nothing is recorded or sent anywhere. Needs the Debian package "
                       "pocketsphinx-en-us, and a script in English."),
        this);
    voiceNote->setObjectName(QStringLiteral("VoiceNote"));
    voiceNote->setWordWrap(true);
    voiceNote->setIndent(20);
    m_device = field(QStringLiteral("Device"), voice.device, QStringLiteral("the system's default"), this);
    m_model = field(QStringLiteral("Model"), voice.model,
                    QStringLiteral("/usr/share/pocketsphinx/model/en-us/en-us"), this);
    m_dictionary = field(QStringLiteral("Dictionary"), voice.dictionary,
                         QStringLiteral("/usr/share/pocketsphinx/model/en-us/cmudict-en-us.dict"), this);
    m_markWord = box(QStringLiteral("MarkWord"), QStringLiteral("Mark the word last heard in the script"),
                     voice.markWord, this);

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
    form->addRow(QStringLiteral("Countdown before the scroll starts:"), m_countdown);
    form->addRow(m_timeLeft);
    form->addRow(m_markers);
    form->addRow(m_paceKeys);
    form->addRow(m_follow);
    form->addRow(voiceNote);
    form->addRow(QStringLiteral("Microphone:"), m_device);
    form->addRow(QStringLiteral("Speech model:"), m_model);
    form->addRow(QStringLiteral("Dictionary:"), m_dictionary);
    form->addRow(m_markWord);
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
    preferences.countdown = m_countdown->value();
    preferences.timeLeft = m_timeLeft->isChecked();
    preferences.markers = m_markers->isChecked();
    preferences.paceKeys = m_paceKeys->isChecked();
    preferences.voice = {m_follow->isChecked(), m_device->text().trimmed(), m_model->text().trimmed(),
                         m_dictionary->text().trimmed(), m_markWord->isChecked()};
    using Choice = session::Preferences::ScreenChoice;
    const QString screen = m_screen->currentText().trimmed();
    preferences.screenName.clear();
    if (screen.isEmpty() || screen.compare(kPrimary, Qt::CaseInsensitive) == 0) {
        preferences.screen = Choice::Primary;
    } else if (screen.compare(kMainWindow, Qt::CaseInsensitive) == 0) {
        preferences.screen = Choice::MainWindow;
    } else {
        // A listed screen by what picks it; anything else as typed.
        const int listed = m_screen->findText(screen);
        preferences.screen = Choice::Named;
        preferences.screenName = listed >= 0 ? m_screen->itemData(listed).toString() : screen;
    }
    return preferences;
}

}  // namespace velloran::ui
