#include "ui/widgets/countdownoverlay.h"

#include <QPainter>
#include <QPainterPath>

namespace velloran::ui {

CountdownOverlay::CountdownOverlay(QWidget* window) : QWidget(window)
{
    setObjectName(QStringLiteral("lCount"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void CountdownOverlay::setNumber(int number)
{
    m_number = number;
    update();
}

void CountdownOverlay::setReflection(bool mirror, bool flip)
{
    m_mirror = mirror;
    m_flip = flip;
    update();
}

void CountdownOverlay::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), QColor(0, 0, 0, 200));
    // Reflected about the middle, as the glass shows the script.
    painter.translate(width() / 2.0, height() / 2.0);
    painter.scale(m_mirror ? -1 : 1, m_flip ? -1 : 1);
    painter.translate(-width() / 2.0, -height() / 2.0);
    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(std::max(8, height() * 3 / 4));
    QPainterPath path;
    const QString text = QString::number(m_number);
    const QFontMetricsF metrics(font);
    const QRectF box = metrics.tightBoundingRect(text);
    path.addText(QPointF((width() - box.width()) / 2 - box.left(), (height() - box.height()) / 2 - box.top()),
                 font, text);
    painter.setPen(QPen(Qt::black, std::max(2, height() / 40)));
    painter.setBrush(QColor(255, 200, 0));
    painter.drawPath(path);
}

}  // namespace velloran::ui
