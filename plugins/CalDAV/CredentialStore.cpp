// Where the calendar password is kept: never in the group or its synchronisation settings.
#include "CredentialStore.h"

#include "text/TextFile.h"

#include <QByteArray>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <sys/stat.h>
#include <vector>

namespace halvika {

namespace {

std::string key(const std::string& url, const std::string& user) {
    return QByteArray::fromStdString(url).toBase64().toStdString() + "\t" +
           QByteArray::fromStdString(user).toBase64().toStdString();
}

} // namespace

CredentialStore::CredentialStore(std::string folder) : m_folder(std::move(folder)) {}

std::string CredentialStore::defaultFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    return (config && *config ? std::string(config) : std::string(home ? home : "") + "/.config") + "/halvika";
}

std::string CredentialStore::file() const {
    return m_folder + "/caldav-passwords";
}

std::string CredentialStore::describe() const {
    return usesKeyring() ? "in your desktop's keyring (the Secret Service)" : "in " + file() + ", readable only by you";
}

SecretServiceStore::Found CredentialStore::password(const std::string& url, const std::string& user,
                                                    bool mayAskToUnlock) const {
    SecretServiceStore::Found found = m_keyring.password(url, user, mayAskToUnlock);
    if (!found.password && !found.locked) {
        found.password = filePassword(url, user);
    }
    return found;
}

std::optional<std::string> CredentialStore::filePassword(const std::string& url, const std::string& user) const {
    const auto text = TextFile::readBytes(file());
    if (!text) {
        return std::nullopt;
    }
    std::istringstream lines(*text);
    std::string line;
    const std::string wanted = key(url, user) + "\t";
    while (std::getline(lines, line)) {
        if (line.rfind(wanted, 0) == 0) {
            return QByteArray::fromBase64(QByteArray::fromStdString(line.substr(wanted.size()))).toStdString();
        }
    }
    return std::nullopt;
}

bool CredentialStore::store(const std::string& url, const std::string& user, const std::string& password) {
    if (!usesKeyring()) {
        return storeInFile(url, user, password);
    }
    if (!m_keyring.store(url, user, password)) {
        return false;
    }
    // An older copy in the file would outlive a password changed in the keyring.
    return !filePassword(url, user) || storeInFile(url, user, std::nullopt);
}

bool CredentialStore::storeInFile(const std::string& url, const std::string& user,
                                  const std::optional<std::string>& password) {
    std::error_code ignored;
    std::filesystem::create_directories(m_folder, ignored);
    std::string kept;
    if (const auto text = TextFile::readBytes(file())) {
        std::istringstream lines(*text);
        std::string line;
        const std::string replaced = key(url, user) + "\t";
        while (std::getline(lines, line)) {
            if (!line.empty() && line.rfind(replaced, 0) != 0) {
                kept += line + "\n";
            }
        }
    }
    if (password) {
        kept += key(url, user) + "\t" + QByteArray::fromStdString(*password).toBase64().toStdString() + "\n";
    }
    // Made private before anything is in it.
    const mode_t old = ::umask(077);
    const bool written = TextFile::writeAtomically(file(), kept);
    ::umask(old);
    return written && ::chmod(file().c_str(), 0600) == 0;
}

} // namespace halvika
