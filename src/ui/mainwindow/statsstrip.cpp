#include "ui/mainwindow/statsstrip.h"

#include <QLabel>

#include "session/appsession.h"
#include "ui/widgets/controls.h"
#include "ui/widgets/mouserelay.h"

namespace velloran::ui {

StatsStrip::StatsStrip(QWidget* window, const TwipScale& scale, const session::AppSession& session,
                       std::function<QString()> positionText)
    : QObject(window), m_scale(scale), m_session(session), m_positionText(std::move(positionText))
{
    m_frame = makePanel(window, QStringLiteral("Frame1"), kGrey);
    build();
    wire();
}

void StatsStrip::build()
{
    m_scale.place(m_frame, 0, 0, 10935, 495);
    m_image1 = makePanel(m_frame, QStringLiteral("Image1"), QColor(40, 40, 48));
    m_scale.place(m_image1, 0, 0, 10935, 255);
    const auto label = [this](const char* name, const QString& text, double left, double top, double width,
                              double height) {
        QLabel* made = makeLabel(m_frame, QString::fromLatin1(name), text, 9.75, true);
        m_scale.place(made, left, top, width, height);
        return made;
    };
    m_lTime = label("lTime", QStringLiteral("Run Time   0 : 0"), 240, 210, 1935, 255);
    m_tips[0] = label("lRun", QString(), 120, 0, 1935, 495);
    m_lScroll = label("lScroll", QStringLiteral("Scroller Stats"), 2160, 210, 7095, 255);
    m_lScroll->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    m_tips[1] = label("lStats", QString(), 2160, 0, 7095, 495);
    m_lChar = label("lChar", QStringLiteral("Chr # 0001"), 9240, 210, 1455, 255);
    m_tips[2] = label("lCharTips", QString(), 9240, 0, 1455, 495);
    for (QLabel* tip : m_tips) {
        tip->setAutoFillBackground(false);
        tip->setPalette(QPalette(kGrey));
        tip->hide();
    }
}

void StatsStrip::wire()
{
    MouseRelay::on(m_frame);  // the strip's own background starts no move
    // A double-click on a caption swaps it for its tip label.
    const std::array<QLabel*, 3> captions {m_lTime, m_lScroll, m_lChar};
    for (std::size_t i = 0; i < captions.size(); ++i) {
        connect(MouseRelay::on(captions[i]), &MouseRelay::doubleClicked, this,
                [caption = captions[i], tip = m_tips[i]] {
                    tip->show();
                    caption->hide();
                });
    }
    // The tip labels carry the current values as tooltips.
    const std::array<std::function<QString()>, 3> tooltips {
        [this] { return m_lTime->text(); },
        // Spelled out as QString: a deduced string builder would refer to temporaries already gone.
        [this]() -> QString { return m_lScroll->text() + QStringLiteral("    ") + m_positionText(); },
        [this] { return m_lChar->text(); },
    };
    for (std::size_t i = 0; i < m_tips.size(); ++i) {
        connect(MouseRelay::on(m_tips[i]), &MouseRelay::moved, this,
                [tip = m_tips[i], tooltip = tooltips[i]] { tip->setToolTip(tooltip()); });
    }
}

void StatsStrip::makeRoomForTimeLeft(bool room)
{
    const double left = room ? 4200 : 2160;
    m_scale.place(m_lScroll, left, 210, 9255 - left, 255);
    m_scale.place(m_tips[1], left, 0, 9255 - left, 495);
}

void StatsStrip::writeClock()
{
    m_lTime->setText(QString::fromStdString(m_session.clock().text()));
}

void StatsStrip::ShowRates()
{
    m_lScroll->setText(QString::fromStdString(engine::ratesReadout(m_session.pace())));
}

void StatsStrip::showPosition()
{
    m_lScroll->setToolTip(m_positionText());
}

void StatsStrip::countCharacters(qint64 count)
{
    m_lChar->setText(QString::fromStdString(engine::characterReadout(count)));
}

void StatsStrip::ToggleStats()
{
    const bool showCaptions = !m_statsShown;
    for (QLabel* caption : {m_lTime, m_lScroll, m_lChar})
        caption->setVisible(showCaptions);
    for (QLabel* tip : m_tips)
        tip->setVisible(!showCaptions);
    m_statsShown = showCaptions;
}

}  // namespace velloran::ui
