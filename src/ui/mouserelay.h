#pragma once

#include <QObject>

class QWidget;

namespace velloran::ui {

// Reports the mouse events of a plain widget (label, frame, image) with the button numbers the
// program uses: 1 left, 2 right, 4 middle; in moves, the sum of the buttons held.
class MouseRelay : public QObject {
    Q_OBJECT
public:
    // With `takePresses`, the widget itself keeps the press, so its release comes back here too.
    static MouseRelay* on(QWidget* widget, bool takePresses = true);

signals:
    void moved(int buttons);
    void pressed(int button);
    void released(int button);
    void doubleClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MouseRelay(QWidget* widget, bool takePresses);
    bool m_takePresses;
};

}  // namespace velloran::ui
