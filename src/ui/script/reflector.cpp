#include "ui/script/reflector.h"

#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <utility>
#include <vector>

namespace velloran::ui {

namespace {

// The device a widget paints on during its paint event, which QWidget keeps to its own family.
struct PaintTarget : QWidget {
    static QPaintDevice* of(const QWidget* widget, QPoint* offset)
    {
        return (widget->*(&PaintTarget::redirected))(offset);
    }
};

}  // namespace

Reflector::Reflector(QObject* parent) : QObject(parent)
{
}

void Reflector::watch(QWidget* widget)
{
    widget->installEventFilter(this);
    m_watched.append(widget);
}

void Reflector::set(bool mirror, bool flip)
{
    m_mirror = mirror;
    m_flip = flip;
    m_echoes.clear();
    for (QWidget* widget : m_watched)
        if (widget)
            widget->update();
}

QRect Reflector::place(const QRect& rect, const QSize& area) const
{
    QRect placed = rect;
    if (m_mirror)
        placed.moveLeft(area.width() - rect.x() - rect.width());
    if (m_flip)
        placed.moveTop(area.height() - rect.y() - rect.height());
    return placed;
}

QRegion Reflector::reflected(const QRegion& region, const QSize& area) const
{
    QRegion result;
    for (const QRect& rect : region)
        result += place(rect, area);
    return result;
}

bool Reflector::eventFilter(QObject* watched, QEvent* event)
{
    if (m_inner || !active())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    switch (event->type()) {
    case QEvent::Paint: paintReflected(widget, static_cast<QPaintEvent*>(event)->region()); return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: return resendReflected(widget, static_cast<QMouseEvent*>(event));
    default: return false;
    }
}

void Reflector::paintReflected(QWidget* widget, const QRegion& region)
{
    // The widget may have asked for this region in its own plain terms (a text cursor, an edited
    // line): the place where that shows is the reflected one, so it is asked for as well, once.
    QRegion& echoes = m_echoes[widget];
    if (!m_echoesOn) {
        echoes = QRegion();
    } else if (echoes.contains(region.boundingRect())) {
        echoes -= region;
    } else {
        const QRegion echo = reflected(region, widget->size()) - region;
        if (!echo.isEmpty()) {
            echoes += echo;
            widget->update(echo);
        }
    }

    // Rendering refuses a widget that is painting, and ends its painting state: the device this
    // paint event draws on (the window's backing store) is taken first and drawn on directly.
    QPoint offset;
    QPaintDevice* device = PaintTarget::of(widget, &offset);
    if (device && device->devType() == QInternal::Image) {
        // Each rectangle is rendered plainly in place and reflected there: no second image to
        // fill and copy. Rectangle by rectangle, since a tick exposes a strip at each end of the
        // box and their bounding rectangle would be the whole box.
        auto* image = static_cast<QImage*>(device);
        for (const QRect& target : region)
            renderReflectedInPlace(widget, image, target, target.topLeft() - offset);
    } else {
        QPainter painter;
        if (device) {
            painter.begin(device);
            painter.translate(-offset);
        } else {
            painter.begin(widget);
        }
        painter.setClipRegion(region);
        for (const QRect& target : region) {
            QImage plain = renderPlain(widget, place(target, widget->size()));
            plain.mirror(m_mirror, m_flip);
            painter.drawImage(target.topLeft(), plain);
        }
    }
    widget->setAttribute(Qt::WA_WState_InPaintEvent, true);
}

void Reflector::renderReflectedInPlace(QWidget* widget, QImage* image, const QRect& target, QPoint at)
{
    m_inner = true;
    widget->setAttribute(Qt::WA_WState_InPaintEvent, false);
    widget->render(image, at, QRegion(place(target, widget->size())), QWidget::DrawWindowBackground);
    m_inner = false;
    const qreal ratio = image->devicePixelRatio();
    const QRect pixels = QRect((QPointF(at) * ratio).toPoint(), (QSizeF(target.size()) * ratio).toSize())
                             .intersected(image->rect());
    if (pixels.isEmpty())
        return;
    const int from = pixels.left();
    const int to = pixels.right() + 1;
    const auto row = [image](int y) { return reinterpret_cast<quint32*>(image->scanLine(y)); };
    if (m_mirror)
        for (int y = pixels.top(); y <= pixels.bottom(); ++y)
            std::reverse(row(y) + from, row(y) + to);
    if (m_flip)
        for (int top = pixels.top(), bottom = pixels.bottom(); top < bottom; ++top, --bottom)
            std::swap_ranges(row(top) + from, row(top) + to, row(bottom) + from);
}

QImage Reflector::renderPlain(QWidget* widget, const QRect& source)
{
    const qreal ratio = widget->devicePixelRatioF();
    const QSize size = (QSizeF(source.size()) * ratio).toSize();
    // The strips of a tick differ in height from one tick to the next: one buffer, grown to the
    // largest yet, keeps fresh memory (and its page faults) out of every tick.
    if (m_scratch.width() < size.width() || m_scratch.height() < size.height())
        m_scratch = QImage(size.expandedTo(m_scratch.size()), QImage::Format_RGB32);
    // Opaque, as the window's own backing store is, so text is drawn with the same smoothing.
    QImage plain(m_scratch.bits(), size.width(), size.height(), m_scratch.bytesPerLine(),
                 QImage::Format_RGB32);
    plain.setDevicePixelRatio(ratio);
    m_inner = true;
    widget->setAttribute(Qt::WA_WState_InPaintEvent, false);
    widget->render(&plain, QPoint(), QRegion(source), QWidget::DrawWindowBackground);
    m_inner = false;
    return plain;
}

bool Reflector::resendReflected(QWidget* widget, QMouseEvent* event)
{
    const QPointF at = event->position();
    const QPointF reflectedAt(m_mirror ? widget->width() - 1 - at.x() : at.x(),
                              m_flip ? widget->height() - 1 - at.y() : at.y());
    QMouseEvent plain(event->type(), reflectedAt, event->scenePosition(), event->globalPosition(),
                      event->button(), event->buttons(), event->modifiers(), event->pointingDevice());
    m_inner = true;
    QCoreApplication::sendEvent(widget, &plain);
    m_inner = false;
    event->setAccepted(plain.isAccepted());
    return true;
}

}  // namespace velloran::ui
