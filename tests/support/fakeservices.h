#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "platform/services.h"

// Records what the windows ask of the operating system, without doing it.
class FakeServices final : public velloran::platform::Services {
public:
    QString folder;
    QString installedData;  // empty: a copy run in place, help.txt beside the program
    bool anotherCopyRuns = false;
    std::optional<QString> clipboard = QString();
    int editorsStarted = 0;
    int windowMoves = 0;
    int ends = 0;
    // The answer to a failed save, and the questions asked: the file and the reason of each.
    velloran::platform::FailedSaveChoice afterFailedSave = velloran::platform::FailedSaveChoice::Stay;
    QStringList failedSaves;

    QString programFolder() const override;
    QString dataFolder() const override;
    bool acquireSingleInstance() override;
    std::optional<QString> clipboardText() const override;
    void startEditor() override;
    void startWindowMove(QWidget*) override;
    void endNow() override;
    velloran::platform::FailedSaveChoice askAfterFailedSave(QWidget*, const QString& file,
                                                            const QString& reason) override;
};
