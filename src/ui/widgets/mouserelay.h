#pragma once

#include <QObject>
#include <QPointF>
#include <optional>

class QWidget;

namespace velloran::ui {

// Reports the mouse events of a plain widget (label, frame, image) with the button numbers the
// program uses: 1 left, 2 right, 4 middle; in moves, the sum of the buttons held. A press that
// the pointer then carries past the drag distance, a button still held, is also a drag.
class MouseRelay : public QObject {
    Q_OBJECT
public:
    // The widget's relay, made on first use. With `takePresses`, the widget itself keeps the press,
    // so its release comes back here too.
    static MouseRelay* on(QWidget* widget, bool takePresses = true);

signals:
    void moved(int buttons);
    void released(int button);
    void doubleClicked();
    void dragged(int buttons);  // once per press, with the buttons held

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MouseRelay(QWidget* widget, bool takePresses);
    bool m_takePresses;
    std::optional<QPointF> m_pressedAt;  // on the screen, until the press ends or drags
};

}  // namespace velloran::ui
