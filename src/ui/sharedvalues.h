#pragma once

#include "engine/pace.h"
#include "engine/runclock.h"

namespace velloran::ui {

// Values shared by both windows: the pace and the run-time clock.
struct SharedValues {
    engine::Pace pace;
    engine::RunClock clock;
};

}  // namespace velloran::ui
