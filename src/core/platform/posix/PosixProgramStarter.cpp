#include "platform/posix/PosixProgramStarter.h"

#include "platform/posix/ChildReaper.h"

#include <sched.h>
#include <spawn.h>
#include <unistd.h>

extern char** environ;

namespace halvika {

bool PosixProgramStarter::startDetached(const std::string& program, const std::vector<std::string>& arguments,
                                        const std::string& workingFolder) {
    if (program.empty()) {
        return false;
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : arguments) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);

    // posix_spawn does not copy the parent's memory map as fork does: an alarm's program starts within a
    // millisecond or two however large the program is.
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    if (!workingFolder.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
    }
    // A process group of its own keeps the program out of the terminal's Ctrl+C. Not a session: the
    // scheduler gives a new session a group of its own, which a busy machine then serves a tick later.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = -1;
    const int error = posix_spawnp(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) {
        return false;
    }
    // The program's start wakes this thread as soon as its memory is its own; on the same core this thread
    // would then take the processor from the program while it is still being loaded, for the work after the
    // action. The program goes first.
    sched_yield();
    ChildReaper::instance().reap(pid);
    return true;
}

void PosixProgramStarter::prepare() {
    ChildReaper::instance().prepare();
}

} // namespace halvika
