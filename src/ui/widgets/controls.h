#pragma once

#include <QColor>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace velloran::ui {

class TwipScale;

inline const QColor kGrey(192, 192, 192);
inline const QColor kDarkGrey(128, 128, 128);
inline const QColor kYellow(255, 255, 0);

QWidget* makePanel(QWidget* parent, const QString& name, const QColor& colour);
QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text, double points, bool bold);
// A button reached only through the Alt key of its "&" caption; it lies out of sight.
QPushButton* makeAccelerator(QWidget* parent, const QString& name, const QString& caption);
// A line or shape that only decorates: it lets the mouse through to what lies under it.
QWidget* makeDecoration(QWidget* parent, const TwipScale& scale, const QString& name, double left, double top,
                        double width, double height, const QColor& colour);
void colourText(QLabel* label, const QColor& colour);

}  // namespace velloran::ui
