// The session and machine commands of alarm actions.
#pragma once

namespace halvika {

class PowerControl {
public:
    virtual ~PowerControl() = default;
    virtual void startScreenSaver() = 0;
    virtual void shutDown() = 0;
    virtual void restart() = 0;
    virtual void logOff() = 0;
};

} // namespace halvika
