#pragma once

#include <string_view>
#include <vector>

class QWidget;

namespace velloran::ui {

// What a screen reader says of a control: a short name, and a description, which is the
// control's Instant Help text wherever it has one.
struct AccessibleText {
    std::string_view control;  // its objectName
    std::string_view name;
    std::string_view description;
};

// The reading pane's controls, with the window's own play and pause texts.
std::vector<AccessibleText> paneAccessibleTexts(std::string_view playHelp, std::string_view pauseHelp);
std::vector<AccessibleText> mainWindowAccessibleTexts();
std::vector<AccessibleText> fullScreenAccessibleTexts();

// Gives each control the rows name its name and description. A control the window lacks stops
// the program: the table names it wrongly.
void describeControls(QWidget* window, const std::vector<AccessibleText>& rows);

}  // namespace velloran::ui
