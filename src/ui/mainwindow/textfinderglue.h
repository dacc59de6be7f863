#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QWidget;

namespace velloran::ui {

class InstantHelp;
class ReadingPane;
class ScriptView;
class TextFinderPanel;
class TwipScale;

// The main window's TextFinder: the panel `fX` and what its buttons and the TextFinder button
// `cFile` do with the reading pane, and the drops of files on the script, which close the panel.
class TextFinderGlue : public QObject {
    Q_OBJECT
public:
    // designateBackup makes a file the backup script; hidePanels closes the side panels.
    TextFinderGlue(QWidget* window, const TwipScale& scale, ReadingPane& pane, const ScriptView& view,
                   std::function<void()> hidePanels, std::function<void(const QString&)> designateBackup);

    void ToggleTextFinder();
    void hide();
    void wireHelp(InstantHelp& help) const;  // the Instant Help rows of the panel's controls

    TextFinderPanel* panel() const { return m_fX; }

private:
    void cFile_MouseDown(int button);
    void cOKay_MouseDown(int button);
    void cBackup_Click();
    void dropFiles(const QStringList& paths);

    QWidget* m_window;
    ReadingPane& m_pane;
    std::function<void()> m_hidePanels;
    std::function<void(const QString&)> m_designateBackup;
    TextFinderPanel* m_fX;
};

}  // namespace velloran::ui
