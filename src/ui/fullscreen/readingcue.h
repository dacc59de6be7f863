#pragma once

#include <QWidget>

namespace velloran::ui {

// The reading cue: a small marker pointing at the line the eye should find, drawn on black.
class ReadingCue : public QWidget {
    Q_OBJECT
public:
    explicit ReadingCue(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace velloran::ui
