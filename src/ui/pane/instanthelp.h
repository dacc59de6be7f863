#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <string_view>
#include <vector>

class QLabel;
class QWidget;

namespace velloran::ui {

// A window's Instant Help bar and the table that fills it. A row is a control, the text that a
// movement of the pointer over it writes into the bar, and what else that movement does; one loop
// connects every row.
class InstantHelp : public QObject {
    Q_OBJECT
public:
    struct Row {
        QWidget* control;
        std::function<QString()> text;  // a null text leaves the bar as it is
        std::function<void()> effect;   // may be empty
    };

    explicit InstantHelp(QLabel* bar);

    void wire(const std::vector<Row>& rows);

    static std::function<QString()> fixed(std::string_view text);  // the same text every time
    static QString qs(std::string_view text);

private:
    void connectMoves(QWidget* control, const std::function<void()>& handler);

    QLabel* m_bar;
};

}  // namespace velloran::ui
