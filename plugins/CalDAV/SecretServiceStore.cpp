// The desktop's keyring through libsecret. Every call is synchronous: the plug-in program is a process of its
// own, run in the background by the host, so waiting here holds up no alarm.
#include "SecretServiceStore.h"

#include <libsecret/secret.h>

#include <cstdlib>
#include <memory>
#include <sys/stat.h>

namespace halvika {

namespace {

const SecretSchema schema = {"org.halvika.CalDAV",
                             SECRET_SCHEMA_NONE,
                             {{"url", SECRET_SCHEMA_ATTRIBUTE_STRING},
                              {"user", SECRET_SCHEMA_ATTRIBUTE_STRING},
                              {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
                             0,
                             nullptr,
                             nullptr,
                             nullptr,
                             nullptr,
                             nullptr,
                             nullptr,
                             nullptr};

/// Without an address or a bus in the runtime folder GLib would try to start a bus of its own (dbus-launch),
/// which is never wanted for a password lookup.
bool sessionBusConfigured() {
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (address && *address) {
        return true;
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat st {};
    return runtime && *runtime && ::stat((std::string(runtime) + "/bus").c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
}

struct TableFree {
    void operator()(GHashTable* table) const { g_hash_table_unref(table); }
};
using Attributes = std::unique_ptr<GHashTable, TableFree>;

Attributes attributes(const std::string& url, const std::string& user) {
    Attributes table(g_hash_table_new(g_str_hash, g_str_equal));
    // The table borrows the strings, which outlive every call it is used in.
    g_hash_table_insert(table.get(), const_cast<char*>("url"), const_cast<char*>(url.c_str()));
    g_hash_table_insert(table.get(), const_cast<char*>("user"), const_cast<char*>(user.c_str()));
    return table;
}

} // namespace

SecretServiceStore::SecretServiceStore() {
    if (!sessionBusConfigured()) {
        return;
    }
    GError* error = nullptr;
    // Opening the session is what fails when nothing provides the service on the bus.
    m_service = secret_service_get_sync(SECRET_SERVICE_OPEN_SESSION, nullptr, &error);
    if (error) {
        g_error_free(error);
        if (m_service) {
            g_object_unref(m_service);
        }
        m_service = nullptr;
        return;
    }
    // GLib ends a program whose session bus goes away; losing the keyring must only lose the keyring.
    g_dbus_connection_set_exit_on_close(g_dbus_proxy_get_connection(G_DBUS_PROXY(m_service)), FALSE);
}

SecretServiceStore::~SecretServiceStore() {
    if (m_service) {
        g_object_unref(m_service);
        // libsecret keeps the service for the next caller; the next store connects afresh, to the bus of then.
        secret_service_disconnect();
    }
}

SecretServiceStore::Found SecretServiceStore::password(const std::string& url, const std::string& user,
                                                       bool mayAskToUnlock) const {
    Found found;
    if (!m_service) {
        return found;
    }
    const Attributes table = attributes(url, user);
    const int flags = SECRET_SEARCH_ALL | SECRET_SEARCH_LOAD_SECRETS | (mayAskToUnlock ? SECRET_SEARCH_UNLOCK : 0);
    GError* error = nullptr;
    GList* items =
        secret_service_search_sync(m_service, &schema, table.get(), SecretSearchFlags(flags), nullptr, &error);
    if (error) {
        g_error_free(error);
    }
    for (GList* i = items; i && !found.password; i = i->next) {
        auto* item = static_cast<SecretItem*>(i->data);
        if (secret_item_get_locked(item)) {
            found.locked = true;
            continue;
        }
        if (SecretValue* value = secret_item_get_secret(item)) {
            if (const char* text = secret_value_get_text(value)) {
                found.password = text;
                found.locked = false;
            }
            secret_value_unref(value);
        }
    }
    g_list_free_full(items, g_object_unref);
    return found;
}

bool SecretServiceStore::store(const std::string& url, const std::string& user, const std::string& password) {
    if (!m_service) {
        return false;
    }
    const Attributes table = attributes(url, user);
    SecretValue* value = secret_value_new(password.c_str(), -1, "text/plain");
    const std::string label = "Halvika: calendar password for " + user + " at " + url;
    GError* error = nullptr;
    const bool stored = secret_service_store_sync(m_service, &schema, table.get(), SECRET_COLLECTION_DEFAULT,
                                                  label.c_str(), value, nullptr, &error);
    secret_value_unref(value);
    if (error) {
        g_error_free(error);
        return false;
    }
    return stored;
}

void SecretServiceStore::remove(const std::string& url, const std::string& user) {
    if (!m_service) {
        return;
    }
    const Attributes table = attributes(url, user);
    GError* error = nullptr;
    secret_service_clear_sync(m_service, &schema, table.get(), nullptr, &error);
    if (error) {
        g_error_free(error);
    }
}

} // namespace halvika
