// What alarm groups and the group collection use from the rest of the program.
#pragma once

#include "text/FileWriteQueue.h"

#include <functional>
#include <memory>
#include <string>

namespace halvika {

class Alarm;
class ColourScheme;
class GroupPlugins;
class MessageBoxRoutine;
class modTranslation;

struct GroupServices {
    GroupServices(modTranslation& languageTexts, const ColourScheme& scheme, MessageBoxRoutine& messageBox)
        : texts(languageTexts), colours(scheme), messages(messageBox) {}

    modTranslation& texts;
    const ColourScheme& colours;
    MessageBoxRoutine& messages;
    /// The plug-in host; none in safe mode or in tests that need none.
    GroupPlugins* plugins = nullptr;
    /// The alarm group folder, without a trailing "/".
    std::string alarmGroupFolder;
    /// The program's default template alarm (a settings value); a default alarm when not given.
    std::function<std::shared_ptr<Alarm>()> defaultTemplate;
    /// How the group collection's writer replaces a file; TextFile::writeAtomically when not given.
    FileWriteQueue::WriteFile writeFile;
};

} // namespace halvika
