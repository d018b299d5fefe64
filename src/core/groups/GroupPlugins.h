// What alarm groups need from the plug-in host.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace halvika {

class GroupPlugins {
public:
    /// A file plug-in and the extension text it offers ("*.ics;*.ical").
    struct FileFormat {
        std::string plugin;
        std::string extensions;
    };

    virtual ~GroupPlugins() = default;
    /// The file import and export lists, in list order; a plug-in whose formats are not known yet is left out.
    virtual std::vector<FileFormat> importFormats() = 0;
    virtual std::vector<FileFormat> exportFormats() = 0;
    /// Calls a method of a plug-in with the parameters' XML text; "" when the call fails in any way.
    virtual std::string call(const std::string& plugin, const std::string& method, const std::string& parameters) = 0;
    /// The same call in the background: `done` gets the reply once the plug-in has answered, and nothing waits
    /// for it meanwhile. This default answers at once, for hosts that cannot do otherwise.
    virtual void callLater(const std::string& plugin, const std::string& method, const std::string& parameters,
                           std::function<void(const std::string&)> done) {
        done(call(plugin, method, parameters));
    }
    /// The language element that every call carries.
    virtual std::string languageElement() const = 0;
    /// The short description of a synchronisation plug-in; "" when it is not installed.
    virtual std::string syncDescription(const std::string& plugin) const = 0;
};

} // namespace halvika
