#include "probeclient.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>

#include <algorithm>
#include <vector>

namespace velloran::bench {

namespace {
constexpr int kProbePatienceMs = 120000;
}

std::optional<Figures> runProbe(const QStringList& arguments)
{
    QProcess probe;
    probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    probe.start(QCoreApplication::applicationFilePath(), arguments);
    if (!probe.waitForFinished(kProbePatienceMs) || probe.exitStatus() != QProcess::NormalExit ||
        probe.exitCode() != 0)
        return std::nullopt;
    Figures figures;
    const QString output = QString::fromUtf8(probe.readAllStandardOutput());
    for (const QString& pair : output.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
        const qsizetype equals = pair.indexOf(u'=');
        bool number = false;
        const double value = pair.sliced(equals + 1).toDouble(&number);
        if (equals > 0 && number)
            figures.insert(pair.first(equals), value);
    }
    if (figures.isEmpty())
        return std::nullopt;
    return figures;
}

std::optional<Figures> medianOfRuns(const QStringList& arguments, int runs)
{
    QMap<QString, std::vector<double>> all;
    for (int run = 0; run < runs; ++run) {
        const auto figures = runProbe(arguments);
        if (!figures)
            return std::nullopt;
        for (auto it = figures->cbegin(); it != figures->cend(); ++it)
            all[it.key()].push_back(it.value());
    }
    Figures medians;
    for (auto it = all.begin(); it != all.end(); ++it) {
        std::vector<double>& values = it.value();
        std::sort(values.begin(), values.end());
        const std::size_t middle = values.size() / 2;
        medians.insert(it.key(),
                       values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2);
    }
    return medians;
}

}  // namespace velloran::bench
