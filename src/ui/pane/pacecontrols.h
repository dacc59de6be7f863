#pragma once

#include <QObject>

#include <functional>

#include "ui/widgets/twipscale.h"

class QColor;
class QLabel;
class QTimer;
class QWidget;

namespace velloran::session {
class AppSession;
}

namespace velloran::ui {

class ArrowSpinner;
class InstantHelp;
class LayoutTargets;
class PictureButton;
class ReadingPane;
struct PaneSetup;

// The pace and font controls both windows' panels share, at the same places in their frame: PLAY
// and PAUSE, reset, the font buttons, the TextFinder button, the speed and frequency spinners with
// their readouts, and the repaint timer `tRef` of the frame. The spinners set the session's pace;
// the buttons act on the reading pane.
class PaceControls : public QObject {
    Q_OBJECT
public:
    // Builds them with their shadows; `lScrnt` stands where each window puts it.
    PaceControls(QWidget* frame, const TwipScale& scale, double frequencyReadoutLeft, double frequencyReadoutWidth);

    // The buttons to the pane, the spinners to the session's pace and the pane's tick timer.
    void wire(ReadingPane& pane, session::AppSession& session, QTimer* tick);
    void registerIn(LayoutTargets& targets) const;
    // The Instant Help rows of the controls; `positionText` and `fontSize` read the pane.
    void wireHelp(InstantHelp& help, const PaneSetup& setup, const std::function<QString()>& positionText,
                  const std::function<double()>& fontSize);

    // The shared pace and the tick's interval from the spinners.
    void takePaceFromSpinners();
    // The shared pace and the interval from the given pace, and the spinners too.
    void takePace(int speed, int frequency);
    int speedValue() const;
    int frequencyValue() const;
    // The spinners' values, with their change handling when they differ.
    void setSpeedValue(int speed);
    void setFrequencyValue(int frequency);
    void clearReadouts();  // lScrd and lScrnt
    void colourReadouts(const QColor& colour);
    ArrowSpinner* frequencySpinner() const { return m_sFreq; }
    PictureButton* pauseButton() const { return m_cPause; }

signals:
    void textFinderPressed(int button);  // cFile

private:
    void sSpeed_Change();
    void sFreq_Change();

    session::AppSession* m_session = nullptr;
    QTimer* m_tick = nullptr;
    QTimer* m_tRef;
    PictureButton* m_cFntPlus;
    PictureButton* m_cFntMinus;
    PictureButton* m_cReset;
    QLabel* m_lScrd;
    QLabel* m_lSpeed;
    ArrowSpinner* m_sSpeed;
    PictureButton* m_cPlay;
    PictureButton* m_cPause;
    QLabel* m_lScrnt;
    QLabel* m_lFreq;
    ArrowSpinner* m_sFreq;
    PictureButton* m_cFile;
};

}  // namespace velloran::ui
