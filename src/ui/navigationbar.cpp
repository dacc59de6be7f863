#include "ui/navigationbar.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "ui/twipscale.h"

namespace velloran::ui {

namespace {
constexpr double kMarkerWidthTwips = 225;
}

NavigationBar::NavigationBar(QWidget* parent, const TwipScale& scale, bool withMarker)
    : QWidget(parent), m_scale(scale), m_withMarker(withMarker)
{
    setObjectName(QStringLiteral("Tip"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int NavigationBar::markerPixelTop() const
{
    return static_cast<int>(std::floor(m_markerTop * height() / m_scaleHeight));
}

void NavigationBar::setScaleHeight(double units)
{
    if (units == m_scaleHeight)
        return;
    m_scaleHeight = units;
    update();
}

void NavigationBar::setMarker(double top, const QColor& colour)
{
    const int before = markerPixelTop();
    const bool recolour = colour != m_markerColour;
    m_markerTop = top;
    m_markerColour = colour;
    // Repaint only when the marker really moves on screen or changes colour.
    if (recolour || markerPixelTop() != before)
        update();
}

void NavigationBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!m_withMarker)
        return;
    const int top = markerPixelTop();
    if (top + 2 < 0 || top > height())
        return;
    painter.setPen(m_markerColour);
    painter.drawRect(0, top, m_scale.px(kMarkerWidthTwips) - 1, 1);
}

void NavigationBar::mouseMoveEvent(QMouseEvent* event)
{
    const double y = event->position().y() * m_scaleHeight / std::max(1, height());
    emit moved(static_cast<int>(event->buttons().toInt()), y);
}

void NavigationBar::mousePressEvent(QMouseEvent* event)
{
    event->accept();  // keep the press, so the moves of the held button keep coming here
}

}  // namespace velloran::ui
