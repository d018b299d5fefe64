// The watch's chores, counted; saves succeed unless told otherwise.
#pragma once

#include "sounding/WatchChores.h"

namespace halvika::test {

class RecordingChores : public WatchChores {
public:
    bool saveSettingsQuietly() override {
        ++settingsSaves;
        return savesSucceed;
    }
    bool saveToDoQuietly() override {
        ++toDoSaves;
        return savesSucceed;
    }
    void pollRunningPlugins() override { ++polls; }

    bool savesSucceed = true;
    int settingsSaves = 0;
    int toDoSaves = 0;
    int polls = 0;
};

} // namespace halvika::test
