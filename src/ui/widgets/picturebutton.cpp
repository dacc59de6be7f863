#include "ui/widgets/picturebutton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace velloran::ui {

PictureButton::PictureButton(const QString& name, Glyph glyph, QWidget* parent)
    : QAbstractButton(parent), m_glyph(glyph)
{
    setObjectName(name);
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void PictureButton::mousePressEvent(QMouseEvent* event)
{
    emit mousePressed(static_cast<int>(event->button()));
    if (event->button() == Qt::LeftButton) {
        QAbstractButton::mousePressEvent(event);
        return;
    }
    event->accept();  // keep other presses too, so their release comes back here
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event)
{
    emit mouseReleased(static_cast<int>(event->button()));
    if (event->button() == Qt::LeftButton)
        QAbstractButton::mouseReleaseEvent(event);
}

void PictureButton::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved();
    QAbstractButton::mouseMoveEvent(event);
}

void PictureButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool down = isDown();
    QLinearGradient fill(area.topLeft(), area.bottomLeft());
    fill.setColorAt(0, down ? QColor(70, 70, 70) : QColor(96, 96, 104));
    fill.setColorAt(1, down ? QColor(96, 96, 104) : QColor(40, 40, 44));
    painter.setPen(QColor(20, 20, 20));
    painter.setBrush(fill);
    painter.drawRoundedRect(area, 4, 4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(isEnabled() ? QColor(235, 235, 235) : QColor(120, 120, 120));
    drawGlyph(painter, area.adjusted(area.width() * 0.25, area.height() * 0.25, -area.width() * 0.25,
                                     -area.height() * 0.25));
}

namespace {

// The glyphs drawn as a word or a sign; the others are shapes.
QString caption(PictureButton::Glyph glyph)
{
    using Glyph = PictureButton::Glyph;
    switch (glyph) {
    case Glyph::Play: return QStringLiteral("PLAY");
    case Glyph::Pause: return QStringLiteral("PAUSE");
    case Glyph::Plus: return QStringLiteral("A+");
    case Glyph::Minus: return QStringLiteral("A-");
    case Glyph::Help: return QStringLiteral("?");
    case Glyph::Okay: return QStringLiteral("OKAY");
    case Glyph::Backup: return QStringLiteral("B");
    case Glyph::Cancel: return QStringLiteral("X");
    default: return QString();
    }
}

void triangle(QPainter& painter, QPointF p1, QPointF p2, QPointF p3)
{
    QPainterPath path;
    path.moveTo(p1);
    path.lineTo(p2);
    path.lineTo(p3);
    path.closeSubpath();
    painter.drawPath(path);
}

}  // namespace

void PictureButton::drawGlyph(QPainter& painter, const QRectF& a) const
{
    const double s = std::min(a.width(), a.height());
    const QRectF sq(a.center().x() - s / 2, a.center().y() - s / 2, s, s);
    QPen stroke(painter.brush().color(), std::max(2.0, s / 7));
    stroke.setCapStyle(Qt::RoundCap);
    if (const QString text = caption(m_glyph); !text.isEmpty()) {
        painter.setPen(stroke.color());
        QFont font(QStringLiteral("Arial"));
        font.setBold(true);
        font.setPixelSize(std::max(9, static_cast<int>(rect().height() * 0.42)));
        painter.setFont(font);
        painter.drawText(rect(), Qt::AlignCenter, text);
        return;
    }
    drawShape(painter, sq, stroke);
}

void PictureButton::drawShape(QPainter& painter, const QRectF& sq, const QPen& stroke) const
{
    const double s = sq.width();
    switch (m_glyph) {
    case Glyph::Reset:
        painter.setPen(stroke);
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(sq, 90 * 16, 300 * 16);
        painter.setPen(Qt::NoPen);
        painter.setBrush(stroke.color());
        triangle(painter, QPointF(sq.center().x(), sq.top() - s / 5),
                 QPointF(sq.center().x(), sq.top() + s / 5), QPointF(sq.center().x() - s / 4, sq.top()));
        break;
    case Glyph::Folder:
        painter.drawRect(QRectF(sq.left(), sq.top() + s * 0.25, s, s * 0.65));
        painter.drawRect(QRectF(sq.left(), sq.top() + s * 0.12, s * 0.4, s * 0.2));
        break;
    case Glyph::Full:
        painter.setPen(stroke);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(sq);
        break;
    case Glyph::Exit:
        painter.setPen(stroke);
        painter.drawLine(sq.topLeft(), sq.bottomRight());
        painter.drawLine(sq.topRight(), sq.bottomLeft());
        break;
    case Glyph::Up:
        triangle(painter, QPointF(sq.center().x(), sq.top()), sq.bottomRight(), sq.bottomLeft());
        break;
    case Glyph::Down:
        triangle(painter, sq.topLeft(), sq.topRight(), QPointF(sq.center().x(), sq.bottom()));
        break;
    default: break;
    }
}

}  // namespace velloran::ui
