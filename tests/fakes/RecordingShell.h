// A shell that records what it was asked to start or open.
#pragma once

#include "platform/Shell.h"

#include <string>
#include <vector>

namespace halvika::test {

class RecordingShell : public Shell {
public:
    struct Started {
        std::string program;
        std::vector<std::string> arguments;
    };

    bool startDetached(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string&) override {
        started.push_back({program, arguments});
        return true;
    }
    bool openDocument(const std::string& path) override {
        opened.push_back(path);
        return opens;
    }
    /// False: the desktop has no handler for what is opened.
    bool opens = true;

    bool open(const std::string& path, const std::string& parameters, const std::string& folder) override {
        executed.push_back({path, parameters, folder});
        return true;
    }

    struct Executed {
        std::string path;
        std::string parameters;
        std::string folder;
    };
    std::vector<Executed> executed;
    std::vector<Started> started;
    std::vector<std::string> opened;
};

} // namespace halvika::test
