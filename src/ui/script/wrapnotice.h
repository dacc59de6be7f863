#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <optional>

#include "ui/widgets/twipscale.h"

class QFont;
class QTimer;

namespace velloran::ui {

class Notice;
class ScriptSurface;
class ScriptText;

// Where a script wraps back to its start: the line at the reading height when the scroll
// position reaches the wrap limit.
struct WrapPoint {
    qsizetype line;  // 1 for the first
    QString text;    // that line
};

// The line of `script`, laid out in `font` to `width` pixels, that stands `offset` pixels below
// the script's top; none when the script ends above it.
std::optional<WrapPoint> lineAt(QStringView script, const QFont& font, int width, int offset);

// Tells the reader once per script, without stopping anything, that a script loaded or typed
// reaches past the classic range: where it will wrap, and that the whole-script option reads it
// to the end.
class WrapNotice : public QObject {
    Q_OBJECT
public:
    // `wholeScript` says whether the whole-script option is on, which reads any script to its end.
    WrapNotice(QObject* parent, const ScriptSurface& surface, const ScriptText& text, Notice& notice,
               const TwipScale& scale, std::function<bool()> wholeScript);

    // A new script came in; with `tell` off (a script the reader has been told of in another
    // window) it is only noted.
    void newScript(bool tell = true);

private:
    void check();

    const ScriptSurface& m_surface;
    const ScriptText& m_text;
    Notice& m_notice;
    TwipScale m_scale;
    std::function<bool()> m_wholeScript;
    QTimer* m_wait;
    bool m_told = false;
    bool m_tell = true;
};

}  // namespace velloran::ui
