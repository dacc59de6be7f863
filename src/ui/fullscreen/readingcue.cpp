#include "ui/fullscreen/readingcue.h"

#include <QPainter>
#include <QPolygon>

namespace velloran::ui {

ReadingCue::ReadingCue(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Cue"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ReadingCue::paintEvent(QPaintEvent*)
{
    // A triangle pointing into the script, in a colour the script never takes.
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const int w = width();
    const int h = height();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 96, 32));
    painter.drawPolygon(QPolygon({QPoint(0, 0), QPoint(w, h / 2), QPoint(0, h)}));
}

}  // namespace velloran::ui
