// An alarm group collection over a folder with the services it needs, for programs without windows
// (the command-line companion, benchmarks).
#pragma once

#include "base/AppPaths.h"
#include "base/MessageBoxRoutine.h"
#include "groups/AlarmGroupCollection.h"
#include "groups/GroupServices.h"
#include "settings/ColourScheme.h"
#include "settings/modIniFileHandling.h"
#include "settings/modTranslation.h"

#include <string>

namespace halvika {

struct GroupWorkspace {
    GroupWorkspace(const std::string& folder, Dialogs& dialogs, ChangeListener& changes)
        : paths(folder, {}), texts(paths, ini), colours(paths, ini), messages(dialogs),
          services(texts, colours, messages), groups(services, changes) {
        services.alarmGroupFolder = folder;
    }

    AppPaths paths;
    modIniFileHandling ini;
    modTranslation texts;
    ColourScheme colours;
    MessageBoxRoutine messages;
    GroupServices services;
    AlarmGroupCollection groups;
};

} // namespace halvika
