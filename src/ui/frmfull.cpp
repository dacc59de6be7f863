#include "ui/frmfull.h"

#include "ui/frmset.h"

namespace velloran::ui {

frmFull::frmFull(platform::Services& services, SharedValues& shared, frmSet& main)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_services(services), m_shared(shared), m_main(main)
{
    setObjectName(QStringLiteral("frmFull"));
    setAttribute(Qt::WA_DeleteOnClose);
}

void frmFull::Form_Load()
{
}

}  // namespace velloran::ui
