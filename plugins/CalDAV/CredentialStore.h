// Where the calendar password is kept: never in the group or its synchronisation settings.
#pragma once

#include "SecretServiceStore.h"

#include <optional>
#include <string>

namespace halvika {

/// The desktop's keyring when a Secret Service runs; otherwise a file readable only by the user, in the
/// configuration folder ($XDG_CONFIG_HOME/halvika, ~/.config/halvika when unset): one line per server and user.
class CredentialStore {
public:
    explicit CredentialStore(std::string folder);
    /// The folder from the environment.
    static std::string defaultFolder();

    /// The keyring first, then the file (a password kept before a keyring ran is still found).
    /// `mayAskToUnlock` as for the keyring.
    SecretServiceStore::Found password(const std::string& url, const std::string& user, bool mayAskToUnlock) const;
    /// In the keyring when one runs (and then no longer in the file), else in the file. False when it could
    /// not be kept: a keyring that refused is not replaced by the file without the user knowing.
    bool store(const std::string& url, const std::string& user, const std::string& password);
    bool usesKeyring() const { return m_keyring.ready(); }
    /// Where it is kept, said to the user in the settings window.
    std::string describe() const;

private:
    std::string file() const;
    std::optional<std::string> filePassword(const std::string& url, const std::string& user) const;
    bool storeInFile(const std::string& url, const std::string& user, const std::optional<std::string>& password);
    std::string m_folder;
    SecretServiceStore m_keyring;
};

} // namespace halvika
