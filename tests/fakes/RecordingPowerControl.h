// Session and machine commands, recorded and never carried out.
#pragma once

#include "platform/PowerControl.h"

#include <string>
#include <vector>

namespace halvika::test {

class RecordingPowerControl : public PowerControl {
public:
    void startScreenSaver() override { calls.push_back("screensaver"); }
    void shutDown() override { calls.push_back("shutdown"); }
    void restart() override { calls.push_back("restart"); }
    void logOff() override { calls.push_back("logoff"); }
    std::vector<std::string> calls;
};

} // namespace halvika::test
