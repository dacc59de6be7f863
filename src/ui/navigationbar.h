#pragma once

#include <QColor>
#include <QWidget>

#include "ui/twipscale.h"

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
    double markerTop() const { return m_markerTop; }
    QColor markerColour() const { return m_markerColour; }

signals:
    void moved(int buttons, double y);  // y in the bar's scale

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int markerPixelTop() const;

    TwipScale m_scale;
    bool m_withMarker;
    double m_scaleHeight = 1;
    double m_markerTop = 0;
    QColor m_markerColour = Qt::white;
};

}  // namespace velloran::ui
