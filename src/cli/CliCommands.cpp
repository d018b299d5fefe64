// The commands of halvika-cli, writing to the streams they are given.
#include "CliCommands.h"

#include "RemoteClient.h"

#include "alarms/Alarm.h"
#include "alarms/ExpressionError.h"
#include "alarms/clsAdvancedDate.h"
#include "app/ProgramVersion.h"
#include "base/MessageBoxRoutine.h"
#include "dates/ArithmeticError.h"
#include "editing/QuickReminder.h"
#include "groups/GroupWorkspace.h"
#include "platform/posix/PosixClock.h"
#include "platform/posix/PosixPluginProcess.h"
#include "plugins/PluginHost.h"
#include "settings/ColourScheme.h"
#include "settings/modTranslation.h"
#include "text/NumberText.h"
#include "text/TextFile.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <stdexcept>

namespace halvika {

namespace {

std::string describe(const std::exception& e) {
    return std::string("error: ") + e.what();
}

} // namespace

std::optional<std::string> CliCommands::momentText(const std::string& typed) {
    std::string text = typed;
    if (text.size() >= 16 && text[4] == '-' && text[7] == '-' && (text[10] == ' ' || text[10] == 'T')) {
        text[4] = text[7] = '/';
        text[10] = ' ';
    }
    if (text.size() == 16) {
        text += ":00";
    }
    const auto moment = Date::fromFileString(text);
    // Written back, a real moment reads the same: 30 February or 25:61 would not, nor would trailing text.
    if (!moment || moment->toFileString() != text) {
        return std::nullopt;
    }
    return text;
}

const char* CliCommands::usage() {
    return "Usage:\n"
           "  halvika-cli next FILE.agx --after \"yyyy/mm/dd hh:nn:ss\" [--count N] [--calendar]\n"
           "      For each alarm of the group file, in file order, its next N moments strictly after the\n"
           "      given moment, one line each: the alarm's name, a tab, the moment (\"none\" when there is no\n"
           "      further moment). --calendar ignores the alarms' corrections.\n"
           "  halvika-cli eval EXPRESSION \"yyyy/mm/dd hh:nn:ss\"\n"
           "      Whether the moment satisfies the date expression: True or False.\n"
           "  halvika-cli import FILE... --to FOLDER\n"
           "      Adds alarm group files (.agx), collections (.agc) and iCalendar files (.ics, through the\n"
           "      shipped plug-in) to an alarm group folder, each group under the first free usg_N.agx name.\n"
           "  halvika-cli export --from FOLDER --to FILE.agc\n"
           "      Writes every group of an alarm group folder into one collection file.\n"
           "Commands for the running Halvika (through its D-Bus interface):\n"
           "  halvika-cli status\n"
           "      The next alarm, whether alarms are blocked, and how many groups and alarms are loaded.\n"
           "  halvika-cli list [--json] [--count N]\n"
           "      The upcoming alarms, soonest first: moment, name and group (N, 50 by default, at most 1000).\n"
           "  halvika-cli add --at \"yyyy/mm/dd hh:nn:ss\" --message TEXT [--group NAME] [--name NAME]\n"
           "  halvika-cli add --in 25m --message TEXT [--group NAME] [--name NAME]   (s, m, h or d; bare: minutes)\n"
           "      A one-time alarm showing the message, in the named group or the first one.\n"
           "  halvika-cli block | unblock | stop-sounds\n"
           "  halvika-cli --help | --version\n"
           "Moments are written yyyy/mm/dd hh:nn:ss or yyyy-mm-dd hh:nn:ss; the seconds may be left out.\n";
}

int CliCommands::run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, RemoteClient* remote) {
    if (args.empty()) {
        err << usage();
        return exitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out << usage();
        return exitOk;
    }
    if (args[0] == "--version" || args[0] == "-v") {
        out << "halvika-cli " << ProgramVersion::text() << '\n';
        return exitOk;
    }
    if (args[0] == "next") {
        return next(args, out, err);
    }
    if (args[0] == "eval") {
        return eval(args, out, err);
    }
    if (args[0] == "import") {
        return import(args, out, err);
    }
    if (args[0] == "export") {
        return exportCollection(args, out, err);
    }
    for (const char* command : {"status", "list", "add", "block", "unblock", "stop-sounds"}) {
        if (args[0] == command) {
            return remoteCommand(args, out, err, remote);
        }
    }
    err << "halvika-cli: unknown command \"" << args[0] << "\"\n" << usage();
    return exitUsage;
}

int CliCommands::next(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string file;
    std::string after;
    bool haveAfter = false;
    bool calendar = false;
    int count = 1;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--after" || a == "--count") {
            if (i + 1 >= args.size()) {
                err << "halvika-cli: " << a << " needs a value\n";
                return exitUsage;
            }
            const std::string& value = args[++i];
            if (a == "--after") {
                after = value;
                haveAfter = true;
            } else {
                const auto n = NumberText::parseLong(value);
                if (!n || *n < 1 || *n > maxCount || value.find_first_of(".eE") != std::string::npos) {
                    err << "halvika-cli: --count takes a whole number from 1 to " << maxCount << "\n";
                    return exitUsage;
                }
                count = *n;
            }
        } else if (a == "--calendar") {
            calendar = true;
        } else if (file.empty() && a.rfind("--", 0) != 0) {
            file = a;
        } else {
            err << "halvika-cli: unexpected argument \"" << a << "\"\n";
            return exitUsage;
        }
    }
    if (file.empty() || !haveAfter) {
        err << "halvika-cli: next needs a group file and --after\n" << usage();
        return exitUsage;
    }
    const auto afterText = momentText(after);
    const auto start = afterText ? Date::fromFileString(*afterText) : std::nullopt;
    if (!start) {
        err << "halvika-cli: \"" << after << "\" is not a moment of the form yyyy/mm/dd hh:nn:ss\n";
        return exitUsage;
    }
    const auto text = TextFile::readText(file);
    if (!text) {
        err << "halvika-cli: cannot read " << file << "\n";
        return exitUsage;
    }
    const XMLNodePtr group = XMLNode::createFromXML(*text);
    if (group->name != "algr") {
        err << "halvika-cli: " << file << " is not an alarm group file\n";
        return exitUsage;
    }
    for (int i = 0; i < group->getNumberOfNodes(); ++i) {
        const XMLNodePtr element = group->getNodeAt(i);
        if (element->name != "alrm") {
            continue;
        }
        const auto alarm = Alarm::createFromXML(*element, nullptr);
        Date from = *start;
        for (int k = 0; k < count; ++k) {
            out << alarm->name << '\t';
            try {
                if (!alarm->hasNextAlarmDateAfter(from, calendar) || alarm->getNextAlarmDateAfter() == Date::none()) {
                    out << "none\n";
                    break;
                }
                from = alarm->getNextAlarmDateAfter();
                out << from.toFileString() << '\n';
            } catch (const ArithmeticError& e) {
                out << describe(e) << '\n';
                break;
            } catch (const ExpressionError& e) {
                out << describe(e) << '\n';
                break;
            }
        }
    }
    return exitOk;
}

int CliCommands::eval(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 3) {
        err << "halvika-cli: eval needs an expression and a moment\n" << usage();
        return exitUsage;
    }
    const auto typed = momentText(args[2]);
    const auto moment = typed ? Date::fromFileString(*typed) : std::nullopt;
    if (!moment) {
        err << "halvika-cli: \"" << args[2] << "\" is not a moment of the form yyyy/mm/dd hh:nn:ss\n";
        return exitUsage;
    }
    try {
        out << (clsAdvancedDate().getDateEval(*moment, args[1]) ? "True" : "False") << '\n';
        return exitOk;
    } catch (const ExpressionError& e) {
        out << describe(e) << '\n';
        return exitUsage;
    }
}

namespace {

// The collection's services without a display: messages go to the error stream and are answered No, so
// nothing is taken for granted that a user would have been asked about.
class StreamDialogs : public Dialogs {
public:
    explicit StreamDialogs(std::ostream& err) : m_err(err) {}
    int messageBox(const std::string&, const std::string& text, int style) override {
        m_err << "halvika-cli: " << text << "\n";
        return (style & 0x7) == styleYesNo ? answerNo : answerOk;
    }

private:
    std::ostream& m_err;
};

class IgnoredChanges : public ChangeListener {
public:
    void alarmsChanged(const Vector<Alarm>&, std::int16_t) override {}
    void groupsChanged(const Vector<AlarmGroup>&, std::int16_t) override {}
};

/// The folder's own "PlugIns", then those of the shipped data.
std::vector<std::string> pluginFolders(const std::string& folder) {
    std::vector<std::string> folders{folder + "/PlugIns"};
    // Those of the installation this program belongs to, wherever it was put.
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        folders.push_back((program.parent_path() / ".." / "share" / "halvika" / "PlugIns").lexically_normal().string());
    }
    const std::string shipped = HALVIKA_DATA_DIRS;
    std::size_t start = 0;
    while (start <= shipped.size()) {
        const std::size_t end = std::min(shipped.find(':', start), shipped.size());
        if (end > start) {
            folders.push_back(shipped.substr(start, end - start) + "/PlugIns");
        }
        start = end + 1;
    }
    return folders;
}

struct Collection {
    Collection(std::ostream& err, const std::string& folder)
        : dialogs(err), workspace(folder, dialogs, changes), plugins(process, pluginFolders(folder), false) {
        plugins.loadPlugins();
        workspace.services.plugins = &plugins;
    }
    StreamDialogs dialogs;
    IgnoredChanges changes;
    GroupWorkspace workspace;
    PosixPluginProcess process;
    PluginHost plugins;
    AlarmGroupCollection& groups = workspace.groups;
};

std::string withoutTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

bool isFolder(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

} // namespace

int CliCommands::import(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> files;
    std::string folder;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--to" && i + 1 < args.size()) {
            folder = withoutTrailingSlash(args[++i]);
        } else if (args[i].rfind("--", 0) == 0) {
            err << "halvika-cli: unexpected argument \"" << args[i] << "\"\n";
            return exitUsage;
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.empty() || folder.empty()) {
        err << "halvika-cli: import needs files and --to FOLDER\n" << usage();
        return exitUsage;
    }
    if (!isFolder(folder)) {
        err << "halvika-cli: " << folder << " is not a folder\n";
        return exitUsage;
    }
    for (const auto& file : files) {
        if (!TextFile::exists(file)) {
            err << "halvika-cli: cannot read " << file << "\n";
            return exitUsage;
        }
    }
    Collection c(err, folder);
    bool imported = false;
    c.groups.importAlarmGroupFiles(files, [&imported](bool ok) { imported = ok; });
    c.plugins.waitForCalls();
    int saved = 0;
    for (int i = 0; i < c.groups.alarmGroups.numberOfElements(); ++i) {
        const auto group = c.groups.alarmGroups.elementAt(i);
        if (!c.groups.saveAlarmGroupFile(group)) {
            return exitUsage;
        }
        out << group->name << '\t' << AlarmGroup::resolvePath(group->path, folder) << '\n';
        ++saved;
    }
    if (!imported) {
        err << "halvika-cli: some files gave no alarm group\n";
        return exitUsage;
    }
    return saved > 0 ? exitOk : exitUsage;
}

int CliCommands::exportCollection(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string folder;
    std::string file;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--from" && i + 1 < args.size()) {
            folder = withoutTrailingSlash(args[++i]);
        } else if (args[i] == "--to" && i + 1 < args.size()) {
            file = args[++i];
        } else {
            err << "halvika-cli: unexpected argument \"" << args[i] << "\"\n";
            return exitUsage;
        }
    }
    if (folder.empty() || file.empty()) {
        err << "halvika-cli: export needs --from FOLDER and --to FILE.agc\n" << usage();
        return exitUsage;
    }
    if (!isFolder(folder)) {
        err << "halvika-cli: " << folder << " is not a folder\n";
        return exitUsage;
    }
    Collection c(err, folder);
    if (!c.groups.loadAlarmGroups()) {
        return exitUsage;
    }
    c.plugins.waitForCalls(); // the folder's files of other formats, read by their plug-ins
    if (!c.groups.exportAlarmGroupCollection(c.groups.alarmGroups, file)) {
        err << "halvika-cli: cannot write " << file << "\n";
        return exitUsage;
    }
    out << c.groups.alarmGroups.numberOfElements() << " alarm groups written to " << file << '\n';
    return exitOk;
}

} // namespace halvika

namespace halvika {

namespace {

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

} // namespace

int CliCommands::remoteCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                               RemoteClient* remote) {
    const std::string& command = args[0];
    // The options, checked before anything is asked of Halvika.
    std::string at, in, message, group, name;
    bool json = false;
    int count = 50;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool takesValue =
            (command == "add" && (a == "--at" || a == "--in" || a == "--message" || a == "--group" || a == "--name")) ||
            (command == "list" && a == "--count");
        if (takesValue && i + 1 >= args.size()) {
            err << "halvika-cli: " << a << " needs a value\n";
            return exitUsage;
        }
        if (command == "list" && a == "--json") {
            json = true;
        } else if (takesValue) {
            const std::string& value = args[++i];
            if (a == "--at") {
                at = value;
            } else if (a == "--in") {
                in = value;
            } else if (a == "--message") {
                message = value;
            } else if (a == "--group") {
                group = value;
            } else if (a == "--name") {
                name = value;
            } else {
                const auto n = NumberText::parseLong(value);
                if (!n || *n < 1 || *n > 1000 || value.find_first_of(".eE") != std::string::npos) {
                    err << "halvika-cli: --count takes a whole number from 1 to 1000\n";
                    return exitUsage;
                }
                count = *n;
            }
        } else {
            err << "halvika-cli: unexpected argument \"" << a << "\"\n";
            return exitUsage;
        }
    }
    if (command == "add" && ((at.empty() == in.empty()) || message.empty())) {
        err << "halvika-cli: add needs either --at \"yyyy/mm/dd hh:nn:ss\" or --in 25m, and --message TEXT\n";
        return exitUsage;
    }
    if (command == "add" && !in.empty()) {
        const auto seconds = QuickReminder::parseDelay(in);
        if (!seconds) {
            err << "halvika-cli: \"" << in << "\" is not a wait such as 90s, 25m, 2h or 1d (at most a year)\n";
            return exitUsage;
        }
        at = QuickReminder::momentAfter(PosixClock().now().date, *seconds).toFileString();
    }
    if (command == "add") {
        const auto typed = momentText(at);
        if (!typed) {
            err << "halvika-cli: \"" << at << "\" is not a moment of the form yyyy/mm/dd hh:nn:ss\n";
            return exitUsage;
        }
        at = *typed;
    }
    if (remote == nullptr) {
        err << "halvika-cli: this halvika-cli was built without D-Bus and cannot reach a running Halvika\n";
        return exitNotRunning;
    }
    if (!remote->reachable()) {
        err << "halvika-cli: Halvika is not running (" << remote->error() << "). Start it with: halvika\n";
        return exitNotRunning;
    }

    if (command == "status") {
        const RemoteClient::Status s = remote->status();
        std::string names;
        for (const auto& n : s.nextNames) {
            names += (names.empty() ? "" : ", ") + n;
        }
        out << "next alarm: " << (s.next.empty() ? "none" : s.next + " (" + names + ")") << '\n'
            << "blocked: " << (s.blocked ? "yes" : "no") << '\n'
            << "groups: " << s.groups << '\n'
            << "alarms: " << s.alarms << '\n';
    } else if (command == "list") {
        const auto entries = remote->upcoming(count);
        if (json) {
            out << "[";
            for (std::size_t i = 0; i < entries.size(); ++i) {
                out << (i > 0 ? ",\n " : "\n ") << "{\"moment\": " << jsonString(entries[i].moment)
                    << ", \"name\": " << jsonString(entries[i].name) << ", \"group\": " << jsonString(entries[i].group)
                    << "}";
            }
            out << (entries.empty() ? "]\n" : "\n]\n");
        } else {
            for (const auto& e : entries) {
                out << e.moment << '\t' << e.name << '\t' << e.group << '\n';
            }
        }
    } else if (command == "add") {
        const std::string problem = remote->addAlarm(name, at, message, group);
        if (!problem.empty()) {
            err << "halvika-cli: " << problem << '\n';
            return exitUsage;
        }
        out << "added: " << (name.empty() ? message : name) << " at " << at << '\n';
    } else if (command == "block" || command == "unblock") {
        remote->setBlocked(command == "block");
    } else {
        remote->stopSounds();
    }
    if (!remote->error().empty()) {
        err << "halvika-cli: " << remote->error() << '\n';
        return exitNotRunning;
    }
    return exitOk;
}

} // namespace halvika
