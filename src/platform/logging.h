#pragma once

#include <QLoggingCategory>

// What the platform layer reports that the user need not act on: "velloran.platform".
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
