// Programs and documents started through Qt.
#pragma once

#include "platform/Shell.h"

namespace halvika {

class QtShell : public Shell {
public:
    bool startDetached(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string& workingFolder) override;
    bool openDocument(const std::string& path) override;
    bool open(const std::string& path, const std::string& parameters, const std::string& workingFolder) override;
};

} // namespace halvika
