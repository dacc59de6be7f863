#include "ui/script/wrapnotice.h"

#include <QTextDocument>
#include <QTextLayout>
#include <QTextOption>
#include <QTimer>

#include "engine/scroller.h"
#include "ui/script/scriptsurface.h"
#include "ui/script/scripttext.h"
#include "ui/widgets/notice.h"

namespace velloran::ui {

namespace {

constexpr int kSettleMs = 500;  // typing pauses this long before the script is measured again
constexpr qsizetype kQuotedCharacters = 40;

}  // namespace

std::optional<WrapPoint> lineAt(QStringView script, const QFont& font, int width, int offset)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    qreal top = 0;
    qsizetype number = 0;
    for (qsizetype start = 0; start <= script.size();) {
        qsizetype end = script.indexOf(u'\n', start);
        if (end < 0)
            end = script.size();
        const QStringView line = script.sliced(start, end - start);
        ++number;
        // Laid out as the text box lays out a line, leading included.
        QTextLayout layout(line.toString(), font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine row = layout.createLine(); row.isValid(); row = layout.createLine()) {
            row.setLeadingIncluded(true);
            row.setLineWidth(width);
            top += row.height();
        }
        layout.endLayout();
        if (top > offset)
            return WrapPoint {number, line.toString()};
        start = end + 1;
    }
    return std::nullopt;
}

WrapNotice::WrapNotice(QObject* parent, const ScriptSurface& surface, const ScriptText& text, Notice& notice,
                       const TwipScale& scale, std::function<bool()> wholeScript)
    : QObject(parent), m_surface(surface), m_text(text), m_notice(notice), m_scale(scale),
      m_wholeScript(std::move(wholeScript)), m_wait(new QTimer(this))
{
    m_wait->setObjectName(QStringLiteral("tWrapNotice"));
    m_wait->setSingleShot(true);
    m_wait->setInterval(kSettleMs);
    connect(m_wait, &QTimer::timeout, this, &WrapNotice::check);
    connect(text.document(), &QTextDocument::contentsChanged, this, [this] {
        if (!m_told)
            m_wait->start();
    });
}

void WrapNotice::newScript(bool tell)
{
    m_told = false;
    m_tell = tell;
    m_wait->start();
}

void WrapNotice::check()
{
    if (m_told || m_wholeScript())
        return;
    // What the reading height, a third of the way down the band, shows when the script wraps.
    const double reading = m_surface.bandTop() + (m_surface.bandBottom() - m_surface.bandTop()) / 3;
    const double below = reading - engine::kWrapLimit - m_surface.texTop();
    const QString script = m_text.script();
    const auto wrap = lineAt(script, m_text.document()->defaultFont(), m_text.viewport()->width(),
                             static_cast<int>(below / m_scale.perPixel()));
    if (!wrap)
        return;
    m_told = true;
    if (!m_tell)
        return;
    QString words = wrap->text.simplified();
    if (words.size() > kQuotedCharacters)
        words = words.left(kQuotedCharacters).trimmed() + QStringLiteral("...");
    m_notice.tell(
        QStringLiteral("This script runs past the scroller's range: it wraps back to its start at about "
                       "line %1 of %2 (\u201C%3\u201D). To read it to the end, tick \u201CWhole script "
                       "reachable\u201D in the Preferences of the main window (Alt+O, or right-click "
                       "its script).")
            .arg(wrap->line)
            .arg(script.count(u'\n') + (script.endsWith(u'\n') ? 0 : 1))
            .arg(words));
}

}  // namespace velloran::ui
