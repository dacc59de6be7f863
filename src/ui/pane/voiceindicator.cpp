#include "ui/pane/voiceindicator.h"

#include <QPainter>

namespace velloran::ui {

namespace {

using platform::VoiceState;

QColor colourOf(VoiceState state)
{
    switch (state) {
    case VoiceState::Following: return {64, 200, 96};
    case VoiceState::Lost: return {240, 176, 32};
    case VoiceState::NoMicrophone: return {232, 64, 48};
    default: return {150, 150, 160};
    }
}

}  // namespace

VoiceIndicator::VoiceIndicator(QWidget* parent, bool upright) : QWidget(parent), m_upright(upright)
{
    setObjectName(QStringLiteral("VoiceMark"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
}

void VoiceIndicator::setState(VoiceState state)
{
    if (state == m_state)
        return;
    const bool before = wanted();
    m_state = state;
    setToolTip(text());
    setAccessibleName(text());
    update();
    if (wanted() != before)
        emit wantedChanged();
}

bool VoiceIndicator::wanted() const
{
    return m_state != VoiceState::Off && m_state != VoiceState::Unavailable;
}

QString VoiceIndicator::text() const
{
    switch (m_state) {
    case VoiceState::Listening: return QStringLiteral("listening");
    case VoiceState::Following: return QStringLiteral("following");
    case VoiceState::Lost: return QStringLiteral("lost");
    case VoiceState::NoMicrophone: return QStringLiteral("no microphone");
    default: return {};
    }
}

void VoiceIndicator::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), m_upright ? QColor(Qt::black) : palette().window().color());
    // Upwards along the margin, the dot at the bottom: read with the head tilted, like a book's spine.
    const QSizeF size = m_upright ? QSizeF(width(), height()) : QSizeF(height(), width());
    if (!m_upright) {
        painter.translate(0, height());
        painter.rotate(-90);
    }
    const double dot = std::min(size.height() * 0.6, size.width());
    painter.setPen(Qt::NoPen);
    painter.setBrush(colourOf(m_state));
    painter.drawEllipse(QRectF(2, (size.height() - dot) / 2, dot, dot));
    QFont font = painter.font();
    font.setPixelSize(std::max(8, int(size.height() * 0.7)));
    painter.setFont(font);
    painter.setPen(m_upright ? QColor(210, 210, 210) : QColor(40, 40, 48));
    painter.drawText(QRectF(dot + 6, 0, size.width() - dot - 6, size.height()),
                     Qt::AlignLeft | Qt::AlignVCenter, text());
}

}  // namespace velloran::ui
