// The reading pane's ways in and out: scripts from files, the backup and the clipboard, the
// editor, the keys, the exit button, the state it gives for saving, and its Instant Help rows.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>

#include "platform/services.h"
#include "ui/helptexts.h"
#include "ui/navigationbar.h"
#include "ui/notice.h"
#include "ui/picturebutton.h"
#include "ui/readingpane.h"
#include "ui/scriptintake.h"
#include "ui/scriptsurface.h"
#include "ui/scripttext.h"
#include "ui/wrapnotice.h"

namespace velloran::ui {

void ReadingPane::wireExitButton(PictureButton* exitButton)
{
    connect(exitButton, &PictureButton::mousePressed, this, [this](int button) {
        if (button == engine::kRightButton || !m_hooks.saveToEnd())
            return;
        m_tScroll->stop();
        m_ending = true;
        m_hooks.endProgram(false);
    });
    connect(exitButton, &PictureButton::mouseReleased, this, [this](int button) {
        if (button == engine::kLeftButton || m_ending)
            return;
        if (m_playing)
            TogglePlay();
        m_hooks.minimise();
    });
}

void ReadingPane::Tex_DblClick()
{
    if (!m_playing)
        m_services.startEditor();
}

void ReadingPane::useScript(const QString& text)
{
    tex()->setPlainText(text);
    m_wrapNotice->newScript();
    m_scroller.goHome();
    userMoved();
}

bool ReadingPane::loadScriptFromFile(const QString& path, bool resetClockToo)
{
    const auto text = scriptFromFile(path, *m_notice);
    if (!text)
        return false;
    useScript(*text);
    if (resetClockToo)
        resetClock();
    ShowPosition();
    return true;
}

void ReadingPane::LoadBackup()
{
    // Read now: the designation may have changed since the window opened.
    const QString path = m_hooks.backupPath();
    if (!path.isEmpty())
        loadScriptFromFile(path, false);
}

void ReadingPane::LoadClipboard()
{
    const auto text = scriptFromClipboard(m_services.clipboardText(), *m_notice);
    if (!text)
        return;
    useScript(*text);
    ShowPosition();
}

session::SettingsRecord ReadingPane::snapshot() const
{
    session::SettingsRecord record;
    record.speed = static_cast<qint16>(speedValue());
    record.frequency = static_cast<qint16>(frequencyValue());
    record.fontSize = static_cast<float>(tex()->pointSize());
    record.position = m_scroller.position();
    record.exactPosition = m_scroller.exact();
    record.backupPath = m_hooks.backupPath();
    record.minutes = m_shared.clock.minutes;
    record.seconds = m_shared.clock.seconds;
    return record;
}

std::vector<InstantHelp::Row> ReadingPane::helpRows()
{
    const PaceControls& c = m_controls;
    const auto fixed = &InstantHelp::fixed;
    const auto fontTooltip = [this](PictureButton* button) {
        return [this, button] {
            const auto size = static_cast<float>(tex()->pointSize());
            button->setToolTip(QString::fromStdString(engine::fontSizeTooltip(size)));
        };
    };
    const auto speed = [this] { return QString::fromStdString(help::speedHelp(m_shared.pace.speed)); };
    const auto frequency = [this] {
        return QString::fromStdString(help::frequencyHelp(m_shared.pace.frequency));
    };
    const auto speedReadout = [this] {
        m_controls.lScrd->setText(QString::fromStdString(engine::speedReadout(m_shared.pace.speed)));
    };
    const auto frequencyReadout = [this] {
        m_controls.lScrnt->setText(QString::fromStdString(engine::frequencyReadout(m_shared.pace.frequency)));
    };
    return {
        {c.cPlay, fixed(m_setup.playHelp), [this] { clearReadouts(); }},
        {c.cPause, fixed(m_setup.pauseHelp),
         [this] {
             clearReadouts();
             m_controls.cPause->setToolTip(m_lPos->text());
         }},
        {c.cReset, fixed(help::kReset), {}},
        {c.cFntPlus, fixed(help::kFontPlus), fontTooltip(c.cFntPlus)},
        {c.cFntMinus, fixed(help::kFontMinus), fontTooltip(c.cFntMinus)},
        {c.lSpeed, speed, [this] { m_controls.lScrd->clear(); }},
        {c.lScrd, speed, speedReadout},
        {c.lFreq, frequency, [this] { m_controls.lScrnt->clear(); }},
        {c.lScrnt, frequency, frequencyReadout},
        {m_tip, fixed(help::kNavigationBar), {}},
        {tex(), fixed(help::kScript), [this] { tex()->setToolTip(m_playing ? QString() : m_lPos->text()); }},
        {m_scroll, {}, [this] { m_scroll->setToolTip(m_lPos->text()); }},
    };
}

bool ReadingPane::eventFilter(QObject* watched, QEvent* event)
{
    // The window sees its keys before the focused control, which still gets them afterwards.
    const bool press = event->type() == QEvent::KeyPress;
    if ((!press && event->type() != QEvent::KeyRelease) || m_ending || !m_window->isVisible())
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    QWidget* first = QApplication::focusWidget() ? QApplication::focusWidget() : m_window;
    // A key travels up from the focused control; look at it once, on its first stop.
    if (widget != first || widget->window() != m_window)
        return false;
    const auto* keyEvent = static_cast<QKeyEvent*>(event);
    if (m_hooks.keyFirst && m_hooks.keyFirst(*keyEvent))
        return true;
    if (!press)
        return false;
    const int key = keyEvent->key();
    if (key == Qt::Key_Escape) {
        if (!m_setup.escapeSaves || m_hooks.saveToEnd()) {
            m_ending = true;
            m_hooks.endProgram(!m_setup.escapeSaves);  // unsaved by design: the recovery copy goes too
        }
        return true;
    }
    if (key == Qt::Key_Insert)
        LoadClipboard();
    if (key == Qt::Key_F1 && m_hooks.f1)
        m_hooks.f1();
    return false;
}

}  // namespace velloran::ui
