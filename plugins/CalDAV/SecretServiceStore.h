// The desktop's keyring, reached through the Secret Service on the session bus (GNOME Keyring, KWallet,
// KeePassXC), where the calendar password is kept when one runs.
#pragma once

#include <optional>
#include <string>

struct _SecretService;

namespace halvika {

class SecretServiceStore {
public:
    /// Connects when a session bus is there and a Secret Service answers on it; `ready()` says whether it did.
    SecretServiceStore();
    ~SecretServiceStore();
    SecretServiceStore(const SecretServiceStore&) = delete;
    SecretServiceStore& operator=(const SecretServiceStore&) = delete;

    bool ready() const { return m_service != nullptr; }

    struct Found {
        std::optional<std::string> password;
        /// The keyring holds a password for this calendar but is locked, and unlocking was not allowed.
        bool locked = false;
    };
    /// `mayAskToUnlock`: a locked keyring may show its own unlock window (only where the user is at hand, never
    /// during a synchronisation in the background).
    Found password(const std::string& url, const std::string& user, bool mayAskToUnlock) const;
    /// False when the keyring refused it.
    bool store(const std::string& url, const std::string& user, const std::string& password);
    void remove(const std::string& url, const std::string& user);

private:
    _SecretService* m_service = nullptr;
};

} // namespace halvika
