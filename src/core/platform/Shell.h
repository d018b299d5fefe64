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
    /// The desktop's open operation: a program is started with the parameters (split like a shell) in the
    /// working folder, anything else is opened as a document. False when nothing could be started.
    virtual bool open(const std::string& path, const std::string& parameters, const std::string& workingFolder) = 0;
};

} // namespace halvika
