#pragma once

#include <QLoggingCategory>

// What the windows report that the user need not act on, and what their notices said:
// "velloran.ui".
Q_DECLARE_LOGGING_CATEGORY(lcUi)
