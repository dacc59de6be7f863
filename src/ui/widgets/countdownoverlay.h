#pragma once

#include <QWidget>

namespace velloran::ui {

// The count before the scroll starts (3, 2, 1), large over the reading band. It takes no mouse:
// PLAY, PAUSE and the bar under it stay reachable. Drawn mirrored or upside down with the script
// of a rig's glass.
class CountdownOverlay : public QWidget {
    Q_OBJECT
public:
    explicit CountdownOverlay(QWidget* window);

    void setNumber(int number);
    int number() const { return m_number; }
    void setReflection(bool mirror, bool flip);
    bool mirrored() const { return m_mirror; }
    bool flipped() const { return m_flip; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_number = 0;
    bool m_mirror = false;
    bool m_flip = false;
};

}  // namespace velloran::ui
