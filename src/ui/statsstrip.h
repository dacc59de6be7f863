#pragma once

#include <QObject>

#include <array>
#include <functional>

#include "ui/sharedvalues.h"
#include "ui/twipscale.h"

class QLabel;
class QTimer;
class QWidget;

namespace velloran::ui {

// The main window's top strip `Frame1`: the statistics captions (the run-time clock `lTime`, the
// rates `lScroll`, the character counter `lChar`), the tip labels that stand in for them, the top
// dark edge, and the clock's timer `tTime`, which counts the shared clock while the scroller plays.
class StatsStrip : public QObject {
public:
    // positionText gives the position readout, for the tooltips that carry it.
    StatsStrip(QWidget* window, const TwipScale& scale, SharedValues& shared,
               std::function<QString()> positionText);

    void writeClock();                   // lTime from the shared clock
    void ShowRates();                    // lScroll from the shared pace
    void showPosition();                 // lScroll's tooltip: the position readout
    void countCharacters(qint64 count);  // lChar
    // Shows the three captions and hides the tip labels, or the reverse.
    void ToggleStats();
    // The rates move right to leave room for the time left beside the run time, or come back.
    void makeRoomForTimeLeft(bool room);

    QWidget* frame() const { return m_frame; }
    QWidget* topEdge() const { return m_image1; }
    QTimer* clockTimer() const { return m_tTime; }
    const std::array<QLabel*, 3>& tipLabels() const { return m_tips; }

private:
    void build();
    void wire();

    TwipScale m_scale;
    SharedValues& m_shared;
    std::function<QString()> m_positionText;
    bool m_statsShown = false;
    QWidget* m_frame = nullptr;
    QWidget* m_image1 = nullptr;
    QLabel* m_lTime = nullptr;
    QLabel* m_lScroll = nullptr;
    QLabel* m_lChar = nullptr;
    std::array<QLabel*, 3> m_tips {};  // lRun, lStats, lCharTips, in the places of the captions
    QTimer* m_tTime = nullptr;
};

}  // namespace velloran::ui
