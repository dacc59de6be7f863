#pragma once

#include <QObject>

#include "ui/widgets/twipscale.h"

class QLabel;
class QWidget;

namespace velloran::ui {

class PictureButton;
class ReadingPane;

// The main window's controls area `Frame2`: the reading pane's pace controls, and around them the
// backup script's title `lBack`, the help and full-screen buttons, the Instant Help bar `lHelp`
// with the exit button `cX`, the bottom dark edge and the edge lines.
class ControlPanel : public QObject {
    Q_OBJECT
public:
    ControlPanel(QWidget* window, const TwipScale& scale, ReadingPane& pane);

    // Hides the Instant Help bar, the window growing shorter by its height, or shows it again.
    void ToggleInstantHelp();
    // "BACKUP File : " and the file name of the path, shown.
    void showBackupTitle(const QString& path);

    QWidget* frame() const { return m_frame; }
    QLabel* helpBar() const { return m_lHelp; }
    QLabel* backupTitle() const { return m_lBack; }
    PictureButton* helpButton() const { return m_cHelp; }
    PictureButton* fullButton() const { return m_cFull; }
    PictureButton* exitButton() const { return m_cX; }
    QWidget* bottomEdge() const { return m_image2; }

private:
    void build();

    QWidget* m_window;
    TwipScale m_scale;
    QWidget* m_frame = nullptr;
    QLabel* m_lBack = nullptr;
    PictureButton* m_cHelp = nullptr;
    PictureButton* m_cFull = nullptr;
    QLabel* m_lHelp = nullptr;
    PictureButton* m_cX = nullptr;
    QWidget* m_image2 = nullptr;
    QWidget* m_line5 = nullptr;
    QWidget* m_line13 = nullptr;
};

}  // namespace velloran::ui
