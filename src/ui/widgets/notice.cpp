#include "ui/widgets/notice.h"

#include <QTimer>

#include "ui/widgets/logging.h"

#include "ui/widgets/twipscale.h"

namespace velloran::ui {

namespace {
constexpr int kShownMs = 30000;
}

Notice::Notice(QWidget* window, const TwipScale& scale, double top, double margin)
    : QLabel(window), m_hide(new QTimer(this)), m_scale(scale), m_top(top), m_margin(margin)
{
    setObjectName(QStringLiteral("lNotice"));
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    setAutoFillBackground(true);
    setFrameShape(QFrame::Box);
    setMargin(6);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(255, 255, 192));
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
    setCursor(Qt::PointingHandCursor);
    setToolTip(QStringLiteral("Click to close"));
    hide();
    m_hide->setSingleShot(true);
    m_hide->setInterval(kShownMs);
    connect(m_hide, &QTimer::timeout, this, &QWidget::hide);
}

void Notice::tell(const QString& message)
{
    qCInfo(lcUi).noquote() << message;
    setText(message);
    const int width = parentWidget()->width() - 2 * m_scale.px(m_margin);
    setGeometry(m_scale.px(m_margin), m_scale.px(m_top), width, heightForWidth(width));
    show();
    raise();
    m_hide->start();
}

void Notice::mousePressEvent(QMouseEvent*)
{
    hide();
}

}  // namespace velloran::ui
