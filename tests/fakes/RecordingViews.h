// Views that record what the core asked of the windows.
#pragma once

#include "platform/Views.h"

namespace halvika::test {

class RecordingViews : public Views {
public:
    void unloadAllWindows() override { ++unloads; }
    void endProcess(int exitCode) override {
        ended = true;
        this->exitCode = exitCode;
    }

    int unloads = 0;
    bool ended = false;
    int exitCode = -1;
};

} // namespace halvika::test
