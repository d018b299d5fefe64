// Opening documents and starting programs.
#pragma once

#include <string>
#include <vector>

namespace halvika {

class Shell {
public:
    virtual ~Shell() = default;
    /// Starts a program without waiting for it. False when it could not be started.
    virtual bool startDetached(const std::string& program, const std::vector<std::string>& arguments,
                               const std::string& workingFolder) = 0;
    /// Opens a document or folder with the desktop's default handler.
    virtual bool openDocument(const std::string& path) = 0;
};

} // namespace halvika
