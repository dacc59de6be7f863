#include "ui/script/scriptintake.h"

#include "session/settingsstore.h"
#include "session/textlimit.h"
#include "ui/widgets/notice.h"

namespace velloran::ui {

std::optional<QString> scriptFromFile(const QString& path, Notice& notice)
{
    session::ScriptLoad load = session::loadScriptFile(path);
    if (!load.refusal.isEmpty())
        notice.tell(load.refusal);
    return std::move(load.text);
}

std::optional<QString> scriptFromClipboard(const std::optional<QString>& clipboard, Notice& notice)
{
    if (!clipboard)
        return std::nullopt;
    const qint64 characters = session::scriptCharacters(*clipboard);
    if (characters > session::kMaxScriptCharacters) {
        notice.tell(session::clipboardTooLong(characters));
        return std::nullopt;
    }
    return clipboard;
}

}  // namespace velloran::ui
