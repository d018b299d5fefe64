// HalvikaTest.plugin: a plug-in program offering every plug-in type, for tests of the host. Its settings file
// "HalvikaTest.mode" beside it chooses how it behaves: normal, nosuccess, failure, falsesuccess, garbage,
// huge, hang, hangafterlist (hangs on all but the plug-in list), crash, exit3, keeprunning, inactive. Every
// request is appended to "HalvikaTest.log" beside it.
#include "xml/XMLNode.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

using halvika::XMLNode;

std::string folderOf(const std::string& program) {
    const std::size_t slash = program.rfind('/');
    return slash == std::string::npos ? "." : program.substr(0, slash);
}

std::string readMode(const std::string& folder) {
    std::ifstream in(folder + "/HalvikaTest.mode");
    std::string mode;
    in >> mode;
    return mode.empty() ? "normal" : mode;
}

const char* kGroup = "<algr><name>#NAME</name><stat>-1</stat><alrm><name>From the plug-in</name><datk>0</datk>"
                     "<oncd>2026/03/07 09:00:00</oncd></alrm></algr>";

std::string group(const std::string& name) {
    std::string g = kGroup;
    g.replace(g.find("#NAME"), 5, XMLNode::stringToXMLString(name));
    return g;
}

std::string answer(const std::string& method, const XMLNode& params, bool active) {
    if (method == "GetPlugIns") {
        std::string list = "<plugins>";
        for (const char* entry : {"ImportPlugIn|Imp", "ExportPlugIn|Exp", "ActionPlugIn|Act", "ActionPlugIn|Act",
                                  "FileImportPlugIn|FileImp", "FileExportPlugIn|FileExp", "SynchronizationPlugIn|Sync",
                                  "GeneralPurposePlugIn|GPP", "NoSuchType|Odd"}) {
            const std::string e = entry;
            list += "<plugin><type>" + e.substr(0, e.find('|')) + "</type><name>" + e.substr(e.find('|') + 1) +
                    "</name></plugin>";
        }
        return "<reply>" + list + "</plugins></reply>";
    }
    if (method == "GetName") {
        return "<reply><name>Halvika test plug-in</name><shows>About Help</shows></reply>";
    }
    if (method == "GetGPPMenuCaption") {
        return "<reply><menucaption>Test helper</menucaption></reply>";
    }
    if (method == "GetActionInfo") {
        return "<reply><shortdescription>Test action</shortdescription><category>Tests</category>"
               "<description>Does what the test asks.</description></reply>";
    }
    if (method == "GetSynchInfo") {
        return "<reply><shortdescription>Test synchronisation</shortdescription>"
               "<description>Keeps the group the same as the test's.</description></reply>";
    }
    if (method == "GetImpMenuCaption") {
        return "<reply><menucaption>From the test</menucaption></reply>";
    }
    if (method == "GetExpMenuCaption") {
        return "<reply><menucaption>To the test</menucaption></reply>";
    }
    if (method == "GetSynchSettingsControlName") {
        return "<reply><name>SyncSettings</name></reply>";
    }
    if (method == "GetImpFileFormats" || method == "GetExpFileFormats") {
        return "<reply><filters>Test files (*.tst)|*.tst</filters><extensions>*.tst</extensions></reply>";
    }
    if (method == "GetAlarmgroupFromFile") {
        return "<reply>" + group("Imported from " + params.getString("path")) + "</reply>";
    }
    if (method == "SaveAlarmgroupToFile") {
        std::ofstream out(params.getString("path"));
        out << params.getNode("algr")->toString();
        return out ? "<reply><success>0</success></reply>" : "<reply><error>cannot write</error></reply>";
    }
    if (method == "GetAlarmgroups") {
        return "<reply><alarmgroups>" + group("First") + group("Second") + group("Third") + "</alarmgroups></reply>";
    }
    if (method == "Synchronize") {
        return "<reply>" + group("Synchronised") + "</reply>";
    }
    if (method == "GetStatus") {
        return std::string("<reply><active>") + (active ? "True" : "False") + "</active></reply>";
    }
    if (method == "Execute" || method == "Run" || method == "Quit") {
        return "<reply><success></success></reply>";
    }
    return "<reply></reply>";
}

} // namespace

int main(int argc, char** argv) {
    const std::string folder = folderOf(argv[0]);
    const std::string mode = readMode(folder);
    const std::string request((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    std::ofstream(folder + "/HalvikaTest.log", std::ios::app) << request << "\n";

    if (mode == "hang") {
        std::this_thread::sleep_for(std::chrono::hours(1));
    }
    if (mode == "forkhang") {
        // A helper of its own that would outlive it, its number noted for the test.
        const pid_t helper = ::fork();
        if (helper == 0) {
            std::this_thread::sleep_for(std::chrono::hours(1));
            ::_exit(0);
        }
        std::ofstream(folder + "/HalvikaTest.helper") << helper;
        std::this_thread::sleep_for(std::chrono::hours(1));
    }
    if (mode == "crash") {
        std::abort();
    }
    auto envelope = XMLNode::createFromXML(request);
    if (argc > 1 && std::string(argv[1]) == "--settings") {
        // The settings "window": the test's settings file says what the user does in it.
        if (mode == "cancel") {
            return 0;
        }
        auto settings = envelope->getNode("params")->getNode("sett", 0, "<sett></sett>");
        settings->setString("edited", "yes");
        std::cout << "<reply>" << settings->toString() << "</reply>" << std::flush;
        return 0;
    }
    const std::string method = envelope->getString("method");
    if (mode == "hangafterlist" && method != "GetPlugIns") {
        std::this_thread::sleep_for(std::chrono::hours(1));
    }
    std::string reply;
    if (mode == "garbage") {
        reply = "<<< &&& this is not a reply";
    } else if (mode == "huge") {
        reply = "<reply><success></success><name>" + std::string(10 * 1024 * 1024, 'x') + "</name></reply>";
    } else if (mode == "nosuccess" && method != "GetPlugIns") {
        reply = "<reply><error></error></reply>";
    } else if (mode == "failure" && method == "Execute") {
        reply = "<reply><error>The printer is out of paper</error></reply>";
    } else if (mode == "falsesuccess" && method == "Execute") {
        reply = "<reply><success>False</success></reply>";
    } else {
        reply = answer(method, *envelope->getNode("params"), mode != "inactive");
    }
    std::cout << reply << std::flush;
    if (mode == "exit3") {
        return 3;
    }
    if (mode == "keeprunning") {
        // Reply, close the output, and go on working.
        std::fclose(stdout);
        ::close(STDOUT_FILENO);
        std::this_thread::sleep_for(std::chrono::seconds(60));
    }
    return 0;
}
