#pragma once

#include <QColor>
#include <QWidget>

#include <vector>

#include "ui/widgets/twipscale.h"

namespace velloran::ui {

// The navigation bar `Tip`: its inner height counts one unit per twip of surface, and it may
// draw the position marker `shBox` at a top given in those units.
class NavigationBar : public QWidget {
    Q_OBJECT
public:
    NavigationBar(QWidget* parent, const TwipScale& scale, bool withMarker);

    void setScaleHeight(double units);
    double scaleHeight() const { return m_scaleHeight; }
    void setMarker(double top, const QColor& colour);
    void setShowsMarker(bool shows);
    bool showsMarker() const { return m_withMarker; }
    // Whole-script option: the marker is kept whole inside the bar, at its top or bottom edge when
    // the script stands beyond, and drawn tall enough to be seen on any bar.
    void setMarkerAlwaysSeen(bool seen);
    // The marker's rows on the bar as drawn; empty when it is out of sight or not drawn.
    QRect markerRect() const;
    double markerTop() const { return m_markerTop; }
    // Section markers: short grey ticks at these places, in the bar's units (empty: none).
    void setTicks(std::vector<double> units);
    const std::vector<double>& ticks() const { return m_ticks; }
    QColor markerColour() const { return m_markerColour; }

signals:
    void moved(int buttons, double y);  // y in the bar's scale

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int markerPixelTop() const;
    int markerRows() const;

    TwipScale m_scale;
    bool m_withMarker;
    bool m_alwaysSeen = false;
    double m_scaleHeight = 1;
    double m_markerTop = 0;
    QColor m_markerColour = Qt::white;
    std::vector<double> m_ticks;
};

}  // namespace velloran::ui
