// Where the calendar password is kept: never in the group or its synchronisation settings.
#pragma once

#include <optional>
#include <string>

namespace halvika {

/// A file readable only by the user, in the configuration folder ($XDG_CONFIG_HOME/halvika, ~/.config/halvika
/// when unset): one line per server and user.
class CredentialStore {
public:
    explicit CredentialStore(std::string folder);
    /// The folder from the environment.
    static std::string defaultFolder();

    std::optional<std::string> password(const std::string& url, const std::string& user) const;
    /// False when the file could not be written.
    bool store(const std::string& url, const std::string& user, const std::string& password);
    /// Where it is kept, said to the user in the settings window.
    std::string describe() const;

private:
    std::string file() const;
    std::string m_folder;
};

} // namespace halvika
