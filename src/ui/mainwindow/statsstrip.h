#pragma once

#include <QObject>

#include <array>
#include <functional>

#include "ui/widgets/twipscale.h"

class QLabel;
class QWidget;

namespace velloran::session {
class AppSession;
}

namespace velloran::ui {

// The main window's top strip `Frame1`: the statistics captions (the run-time clock `lTime`, the
// rates `lScroll`, the character counter `lChar`), the tip labels that stand in for them, the top
// dark edge. What they show is the session's.
class StatsStrip : public QObject {
    Q_OBJECT
public:
    // positionText gives the position readout, for the tooltips that carry it.
    StatsStrip(QWidget* window, const TwipScale& scale, const session::AppSession& session,
               std::function<QString()> positionText);

    void writeClock();                   // lTime from the run-time clock
    void ShowRates();                    // lScroll from the shared pace
    void showPosition();                 // lScroll's tooltip: the position readout
    void countCharacters(qint64 count);  // lChar
    // Shows the three captions and hides the tip labels, or the reverse.
    void ToggleStats();
    // The rates move right to leave room for the time left beside the run time, or come back.
    void makeRoomForTimeLeft(bool room);

    QWidget* frame() const { return m_frame; }
    QWidget* topEdge() const { return m_image1; }
    const std::array<QLabel*, 3>& tipLabels() const { return m_tips; }

private:
    void build();
    void wire();

    TwipScale m_scale;
    const session::AppSession& m_session;
    std::function<QString()> m_positionText;
    bool m_statsShown = false;
    QWidget* m_frame = nullptr;
    QWidget* m_image1 = nullptr;
    QLabel* m_lTime = nullptr;
    QLabel* m_lScroll = nullptr;
    QLabel* m_lChar = nullptr;
    std::array<QLabel*, 3> m_tips {};  // lRun, lStats, lCharTips, in the places of the captions
};

}  // namespace velloran::ui
