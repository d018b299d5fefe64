// halvika-cli's line to a running Halvika (its D-Bus interface), so that the commands can be tested without
// one.
#pragma once

#include <string>
#include <vector>

namespace halvika {

class RemoteClient {
public:
    struct Entry {
        std::string moment;
        std::string name;
        std::string group;
    };
    struct Status {
        std::string next; ///< "" when no alarm will sound
        std::vector<std::string> nextNames;
        bool blocked = false;
        int groups = 0;
        int alarms = 0;
    };

    virtual ~RemoteClient() = default;
    /// Whether a Halvika answers; when not, `error()` says why.
    virtual bool reachable() = 0;
    virtual std::vector<Entry> upcoming(int limit) = 0;
    virtual Status status() = 0;
    /// "" when added, else why not.
    virtual std::string addAlarm(const std::string& name, const std::string& moment, const std::string& message,
                                 const std::string& group) = 0;
    virtual void setBlocked(bool blocked) = 0;
    virtual void stopSounds() = 0;
    /// What went wrong in the last call, "" when nothing did.
    virtual std::string error() const = 0;
};

} // namespace halvika
