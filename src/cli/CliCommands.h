// The commands of halvika-cli, writing to the streams they are given.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace halvika {

class RemoteClient;

class CliCommands {
public:
    static constexpr int exitOk = 0;
    static constexpr int exitUsage = 2;
    /// A command for the running Halvika, and none answers.
    static constexpr int exitNotRunning = 3;
    static constexpr int maxCount = 100000;

    /// Runs the command in `args` (without the program name). Returns the exit status. `remote` reaches the
    /// running Halvika for the commands that need it; none means this build cannot.
    static int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   RemoteClient* remote = nullptr);

    static const char* usage();
    /// A moment as typed: "yyyy/mm/dd hh:nn:ss", or the ISO form "yyyy-mm-dd hh:nn[:ss]" (also with "T"),
    /// the seconds optional in both; in the file form, or nothing when it is not a real moment.
    static std::optional<std::string> momentText(const std::string& typed);

private:
    static int next(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
    static int eval(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
    static int import(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
    static int exportCollection(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
    static int remoteCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                             RemoteClient* remote);
};

} // namespace halvika
