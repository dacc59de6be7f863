#pragma once

#include <QWidget>

#include "ui/sharedvalues.h"
#include "ui/twipscale.h"

namespace velloran::platform {
class Services;
}

namespace velloran::ui {

class FullScreenHost;
class ReadingPane;
class ScriptText;

// The full-screen reading window: the reading pane over the whole primary screen (home 4800, its
// own Playing flag) and the Control Panel `fCtrl` that F1 hides and shows. The pace and the
// run-time clock are the program-wide values it shares with the main window, from which it takes
// the script at opening.
class frmFull : public QWidget {
    Q_OBJECT
public:
    frmFull(platform::Services& services, SharedValues& shared, FullScreenHost& host);
    ~frmFull() override;

    // Lays the window out to the primary screen and takes over the main window's script and pace.
    void Form_Load();

    void ToggleControlPanel();
    bool SaveFullSettings();  // true when the program may end (see frmSet::SaveSettings)

    ReadingPane& pane() const { return *m_pane; }
    ScriptText* tex() const;
    const TwipScale& scale() const { return m_scale; }
    int widthInTwips() const { return m_width; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildControlPanel();
    void buildHiddenFrame();

    FullScreenHost& m_host;
    TwipScale m_scale;
    ReadingPane* m_pane = nullptr;
    int m_width = 0;  // the screen's, in twips
    int m_height = 0;

    QWidget* m_fCtrl = nullptr;  // the Control Panel
    QWidget* m_fHide = nullptr;  // the Alt-key buttons, below the screen
};

}  // namespace velloran::ui
