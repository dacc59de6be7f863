#include "ui/widgets/logging.h"

Q_LOGGING_CATEGORY(lcUi, "velloran.ui")
