#pragma once

#include <QStringList>

class QDropEvent;
class QMimeData;

namespace velloran::ui {

// Local file paths carried by a drop, in order; empty when it carries none.
QStringList droppedFiles(const QMimeData* data);
// Accepts a drag or drop that carries files when `acceptsFiles`, refuses it otherwise; returns
// the files taken.
QStringList takeFiles(QDropEvent* event, bool acceptsFiles);

}  // namespace velloran::ui
