#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

namespace velloran::bench {

using Figures = QMap<QString, double>;

// Runs this program again in one probe mode and reads back its name=value line; nothing when
// the probe failed or printed no figures.
std::optional<Figures> runProbe(const QStringList& arguments);

// The median of each figure over several runs of the same probe; nothing if any run failed.
std::optional<Figures> medianOfRuns(const QStringList& arguments, int runs);

}  // namespace velloran::bench
