#include "ui/widgets/navigationbar.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "ui/widgets/twipscale.h"

namespace velloran::ui {

namespace {
constexpr double kMarkerWidthTwips = 225;
constexpr double kMarkerHeightUnits = 150;
constexpr int kClassicMarkerRows = 2;  // its 150 units are less than a pixel: drawn as an outline
constexpr int kSeenMarkerRows = 5;
}  // namespace

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

int NavigationBar::markerRows() const
{
    return m_alwaysSeen ? kSeenMarkerRows : kClassicMarkerRows;
}

QRect NavigationBar::markerRect() const
{
    // Classic, it is drawn only where its own 150 units reach into the bar.
    const bool inside = m_markerTop + kMarkerHeightUnits > 0 && m_markerTop < m_scaleHeight;
    if (!m_withMarker || !(inside || m_alwaysSeen))
        return QRect();
    const int top = std::clamp(markerPixelTop(), 0, std::max(0, height() - markerRows()));
    return QRect(0, top, m_scale.px(kMarkerWidthTwips), markerRows()).intersected(rect());
}

void NavigationBar::setShowsMarker(bool shows)
{
    if (shows == m_withMarker)
        return;
    m_withMarker = shows;
    update();
}

void NavigationBar::setMarkerAlwaysSeen(bool seen)
{
    if (seen == m_alwaysSeen)
        return;
    m_alwaysSeen = seen;
    update();
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
    const QRect before = markerRect();
    const bool recolour = colour != m_markerColour;
    m_markerTop = top;
    m_markerColour = colour;
    // Repaint only when the marker really moves on screen or changes colour.
    if (recolour || markerRect() != before)
        update();
}

void NavigationBar::setTicks(std::vector<double> units)
{
    if (units == m_ticks)
        return;
    m_ticks = std::move(units);
    update();
}

void NavigationBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!m_ticks.empty()) {
        // A tick spans the bar's right part, so the position marker at its left stays clear.
        painter.setPen(QColor(0, 190, 255));
        const int left = width() / 3;
        for (const double unit : m_ticks) {
            const auto y = static_cast<int>(std::floor(unit * height() / m_scaleHeight));
            if (y >= 0 && y < height())
                painter.drawLine(left, y, width() - 1, y);
        }
    }
    const QRect marker = markerRect();
    if (marker.isEmpty())
        return;
    painter.setPen(m_markerColour);
    painter.drawRect(marker.adjusted(0, 0, -1, -1));
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
