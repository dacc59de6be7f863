#pragma once

#include <QWidget>

#include "engine/scroller.h"

namespace velloran::platform {
class Services;
}

namespace velloran::ui {

class frmSet;
struct SharedValues;

// The full-screen reading window.
class frmFull : public QWidget {
    Q_OBJECT
public:
    frmFull(platform::Services& services, SharedValues& shared, frmSet& main);
    void Form_Load();

private:
    platform::Services& m_services;
    SharedValues& m_shared;
    frmSet& m_main;
};

}  // namespace velloran::ui
