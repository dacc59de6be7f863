#include "fakeservices.h"

using velloran::platform::FailedSaveChoice;

QString FakeServices::programFolder() const
{
    return folder;
}

QString FakeServices::dataFolder() const
{
    return installedData.isEmpty() ? folder : installedData;
}

bool FakeServices::acquireSingleInstance()
{
    return !anotherCopyRuns;
}

std::optional<QString> FakeServices::clipboardText() const
{
    return clipboard;
}

void FakeServices::startEditor()
{
    ++editorsStarted;
}

void FakeServices::startWindowMove(QWidget*)
{
    ++windowMoves;
}

void FakeServices::endNow()
{
    ++ends;
}

FailedSaveChoice FakeServices::askAfterFailedSave(QWidget*, const QString& file, const QString& reason)
{
    failedSaves << file + u": " + reason;
    return afterFailedSave;
}
