// The running Halvika's D-Bus interface, as halvika-cli calls it.
#pragma once

#include "RemoteClient.h"

namespace halvika {

class DBusRemoteClient : public RemoteClient {
public:
    DBusRemoteClient();
    bool reachable() override;
    std::vector<Entry> upcoming(int limit) override;
    Status status() override;
    std::string addAlarm(const std::string& name, const std::string& moment, const std::string& message,
                         const std::string& group) override;
    void setBlocked(bool blocked) override;
    void stopSounds() override;
    std::string error() const override { return m_error; }

private:
    std::string m_error;
};

} // namespace halvika
