#include "session/logging.h"

Q_LOGGING_CATEGORY(lcSession, "velloran.session")
