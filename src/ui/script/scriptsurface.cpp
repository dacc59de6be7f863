#include "ui/script/scriptsurface.h"

#include <QDropEvent>
#include <QMimeData>
#include <algorithm>

#include "engine/scroller.h"
#include "ui/script/reflector.h"
#include "ui/script/scripttext.h"
#include "ui/widgets/filedrop.h"
#include "ui/widgets/twipscale.h"

namespace velloran::ui {

ScriptSurface::ScriptSurface(QWidget* window, const TwipScale& scale, double texTop)
    : QWidget(window), m_text(new ScriptText(this)), m_scale(scale), m_texTop(texTop)
{
    setObjectName(QStringLiteral("Scroll"));
    // Filled opaque, so that a move can reuse the pixels already drawn.
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::black);
    setPalette(colours);
    setMouseTracking(true);
    connect(m_text, &ScriptText::contentMoved, this, &ScriptSurface::refresh);
    connect(m_text->document(), &QTextDocument::contentsChanged, this, &ScriptSurface::refresh);
    connect(m_text, &ScriptText::filesDropped, this, &ScriptSurface::filesDropped);
    connect(m_text, &ScriptText::contentHeightChanged, this, &ScriptSurface::scriptHeightChanged);
    connect(m_text, &ScriptText::shownContentShifted, this,
            [this](qreal pixels) { emit shownContentShifted(pixels * m_scale.perPixel()); });
}

void ScriptSurface::setFollowsScript(bool follows)
{
    m_text->setLazyLayout(follows);
    refresh();
}

void ScriptSurface::setLaysOutAbove(bool on)
{
    m_laysOutAbove = on;
    refresh();
}

double ScriptSurface::lastLineGone() const
{
    return m_bandTop - m_texTop - m_text->contentHeight() * m_scale.perPixel();
}

void ScriptSurface::setAcceptsFiles(bool accepts)
{
    m_acceptsFiles = accepts;
    setAcceptDrops(accepts);
    m_text->setAcceptsFiles(accepts);
}

void ScriptSurface::setBand(double top, double bottom)
{
    m_bandTop = top;
    m_bandBottom = bottom;
    refresh();
}

void ScriptSurface::setLeft(double left)
{
    m_left = left;
    refresh();
}

void ScriptSurface::setWidth(double width)
{
    m_width = width;
    refresh();
}

void ScriptSurface::setPosition(double top)
{
    m_top = top;
    refresh();
}

void ScriptSurface::setTexLeft(double left)
{
    m_texLeft = left;
    refresh();
}

void ScriptSurface::setTexWidth(double width)
{
    m_texWidth = width;
    refresh();
}

void ScriptSurface::setReflector(const Reflector* reflector)
{
    m_reflector = reflector;
    refresh();
}

void ScriptSurface::refresh()
{
    // Below its end the surface is drawn on, black, to the bottom of the band: a place past the
    // end shows an empty script, not the window behind it.
    const double surfaceTop = m_top;
    const double shownTop = std::max(surfaceTop, m_bandTop);
    const double shownBottom = std::max(shownTop, m_bandBottom);
    const int widgetTop = m_scale.px(shownTop);
    const QRect shown(m_scale.px(m_left), widgetTop, m_scale.px(m_width),
                      m_scale.px(shownBottom) - widgetTop);
    setGeometry(m_reflector && parentWidget() ? m_reflector->place(shown, parentWidget()->size()) : shown);

    const double texTop = surfaceTop + m_texTop;
    const double texShownTop = std::max(texTop, shownTop);
    const int offset = m_scale.px(texShownTop - texTop);
    const int bandHeight = m_scale.px(m_bandBottom - m_bandTop);
    if (m_laysOutAbove)
        m_text->layOutThrough(offset + bandHeight);
    const int raise = m_text->showFrom(offset);
    // Upside down, the box's own line scrolling has just moved its pixels up by `moved` where the
    // picture needs them moved down: moving them down twice as far puts them right, and the strip
    // left open is painted afresh.
    const int moved = offset - raise - m_scrolledBy;
    m_scrolledBy = offset - raise;
    if (moved != 0 && m_reflector && m_reflector->flip())
        m_text->viewport()->scroll(0, 2 * moved);
    const QRect texRect(m_scale.px(m_texLeft), m_scale.px(texShownTop) - widgetTop - raise,
                        m_scale.px(m_texWidth), bandHeight + m_text->tallestLine());
    m_text->setGeometry(m_reflector ? m_reflector->place(texRect, shown.size()) : texRect);
}

void ScriptSurface::stepFontSize(bool larger)
{
    const auto now = static_cast<float>(m_text->pointSize());
    const auto size = larger ? engine::largerFont(now) : engine::smallerFont(now);
    if (!size)
        return;
    m_text->setPointSize(*size);
    refresh();
}

void ScriptSurface::mouseMoveEvent(QMouseEvent* event)
{
    emit mouseMoved();
    QWidget::mouseMoveEvent(event);
}

void ScriptSurface::mousePressEvent(QMouseEvent* event)
{
    event->accept();  // the surface is a control: a press on it never reaches the window behind
}

void ScriptSurface::dragEnterEvent(QDragEnterEvent* event)
{
    takeFiles(event, m_acceptsFiles);
}

void ScriptSurface::dropEvent(QDropEvent* event)
{
    const QStringList paths = takeFiles(event, m_acceptsFiles);
    if (!paths.isEmpty())
        emit filesDropped(paths);
}

}  // namespace velloran::ui
