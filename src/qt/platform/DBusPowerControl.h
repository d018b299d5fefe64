// Screen saver, shut down, restart and log off through the desktop's D-Bus services.
#pragma once

#include "platform/PowerControl.h"

namespace halvika {

/// The screen saver is org.freedesktop.ScreenSaver on the session bus; the rest is systemd-logind on the
/// system bus. Errors are ignored.
class DBusPowerControl : public PowerControl {
public:
    void startScreenSaver() override;
    void shutDown() override;
    void restart() override;
    void logOff() override;
};

} // namespace halvika
