// One computer's copy of a synchronised group in the CalDAV tests, and the alarms they make.
#pragma once

#include "CalDavSync.h"
#include "DavClient.h"
#include "caldav/CalDavServers.h"
#include "xml/XMLNode.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <string>
#include <vector>

namespace halvika::test {

inline QCoreApplication& qtApp() {
    static int argc = 1;
    static char name[] = "caldav-tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = new QCoreApplication(argc, argv);
    return *app;
}

inline std::string alarm(const std::string& name, const std::string& moment, const std::string& extra = "") {
    return "<alrm><name>" + name + "</name><datk>0</datk><oncd>" + moment + "</oncd>" + extra +
           "<acti><acid>1</acid><plug></plug><sett><s>" + name + " now</s></sett></acti></alrm>";
}

/// One computer's copy of the group: its alarms and its synchronisation state.
struct SyncedComputer {
    XMLNodePtr group;
    XMLNodePtr settings;

    SyncedComputer(const std::string& calendar, const std::string& alarms)
        : group(XMLNode::createFromXML("<algr><name>Home</name><stat>-1</stat>" + alarms + "</algr>")),
          settings(XMLNode::createFromXML("<syst><url>" + calendar + "</url><user>alice</user></syst>")) {}

    /// One synchronisation as the host would make it: the group and its state replaced only on success.
    CalDavSync::Outcome
    sync(const std::string& password = CalDavServer::password,
         std::chrono::steady_clock::time_point stopUploading = std::chrono::steady_clock::time_point::max()) {
        DavClient client(CalDavServer::user, QString::fromStdString(password), 8000);
        CalDavSync sync(client, std::time(nullptr), stopUploading);
        CalDavSync::Outcome outcome = sync.run(*settings, *group);
        if (outcome.group) {
            settings = outcome.group->getNode("syst")->getCopy();
            group = outcome.group;
        }
        return outcome;
    }

    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (int i = 0; i < group->getNumberOfNodesWithName("alrm"); ++i) {
            out.push_back(group->getNode("alrm", i)->getString("name"));
        }
        std::sort(out.begin(), out.end());
        return out;
    }
    void removeAlarm(const std::string& name) {
        for (int i = 0; i < group->getNumberOfNodes(); ++i) {
            if (group->getNodeAt(i)->name == "alrm" && group->getNodeAt(i)->getString("name") == name) {
                group->removeNodeAt(i);
                return;
            }
        }
    }
    XMLNodePtr alarmNamed(const std::string& name) const {
        for (int i = 0; i < group->getNumberOfNodesWithName("alrm"); ++i) {
            if (group->getNode("alrm", i)->getString("name") == name) {
                return group->getNode("alrm", i);
            }
        }
        return nullptr;
    }
};

} // namespace halvika::test
