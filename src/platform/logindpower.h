#pragma once

#include "platform/power.h"

#include <QDBusUnixFileDescriptor>

// Power through systemd-logind on the system bus: a "sleep" inhibitor lock held for the
// object's lifetime, and PowerOff. Where logind is absent both quietly do nothing.
class LogindPower : public IPower {
public:
    bool inhibitSleep() override;
    void powerOff() override;

private:
    QDBusUnixFileDescriptor m_lock; // sleep is refused while this descriptor is open
};
