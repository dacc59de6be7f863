#pragma once

#include <QObject>
#include <QString>

#include "ui/widgets/twipscale.h"

class QPlainTextEdit;
class QWidget;

namespace velloran::ui {

// The help panel `tHelp`: help.txt over the script area, hidden until the help button opens it.
// The user may edit it; a double-click brings the file's text back.
class HelpPanel : public QObject {
    Q_OBJECT
public:
    HelpPanel(QWidget* window, const TwipScale& scale, QString helpFile);

    void LoadHelpFile();  // the whole file; when it cannot be read, the panel keeps its text
    void open();          // shows it in front, when hidden
    void hide();

    QPlainTextEdit* panel() const { return m_tHelp; }

private:
    QString m_helpFile;
    QPlainTextEdit* m_tHelp;
};

}  // namespace velloran::ui
