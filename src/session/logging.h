#pragma once

#include <QLoggingCategory>

// What the session layer reports that the user need not act on: "velloran.session".
Q_DECLARE_LOGGING_CATEGORY(lcSession)
