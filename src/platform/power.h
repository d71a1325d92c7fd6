#pragma once

// The machine's power: refusing sleep while the program runs, and turning the machine off
// after a conversion when the user asked for it.
class IPower {
public:
    virtual ~IPower() = default;
    // Refuses sleep until the object is destroyed; false when the system offers no way.
    virtual bool inhibitSleep() = 0;
    // Asks the system to power off; failure is ignored.
    virtual void powerOff() = 0;
};
