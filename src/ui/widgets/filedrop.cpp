#include "ui/widgets/filedrop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace velloran::ui {

QStringList droppedFiles(const QMimeData* data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    return paths;
}

QStringList takeFiles(QDropEvent* event, bool acceptsFiles)
{
    QStringList paths = acceptsFiles ? droppedFiles(event->mimeData()) : QStringList();
    if (paths.isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
    return paths;
}

}  // namespace velloran::ui
