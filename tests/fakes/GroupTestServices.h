// Everything groups need, set up for a test: texts and colours from the shipped data, scripted dialogs and
// a scripted plug-in host.
#pragma once

#include "base/MessageBoxRoutine.h"
#include "fakes/FakeGroupPlugins.h"
#include "fakes/ScriptedDialogs.h"
#include "groups/GroupServices.h"
#include "settings/ColourScheme.h"
#include "settings/modTranslation.h"
#include "text/FileWriteQueue.h"
#include "text/TextFile.h"

#include <string>

namespace halvika::test {

struct GroupTestServices {
    explicit GroupTestServices(const std::string& folder) : paths(folder, {HALVIKA_SOURCE_DIR "/data"}) {
        services.plugins = &plugins;
        services.alarmGroupFolder = folder;
        services.writeFile = [this](const std::string& path, const std::string& content, std::string* reason) {
            return disk ? disk(path, content, reason) : TextFile::writeAtomically(path, content, reason);
        };
    }

    /// Stands in for the disk under the group collection's writer (a stalled or a full one) when set before
    /// the first write; the real disk otherwise.
    FileWriteQueue::WriteFile disk;

    AppPaths paths;
    modIniFileHandling ini;
    modTranslation texts{paths, ini};
    ColourScheme colours{paths, ini};
    ScriptedDialogs dialogs;
    MessageBoxRoutine messages{dialogs};
    FakeGroupPlugins plugins;
    GroupServices services{texts, colours, messages};
};

} // namespace halvika::test
