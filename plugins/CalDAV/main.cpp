// HalvikaCalDAV.plugin: keeps an alarm group and a CalDAV calendar the same, in both directions. It reads one
// request envelope on its input and writes one reply on its output; with --settings it shows its window.
#include "CalDavSettingsWindow.h"
#include "CalDavSync.h"
#include "CredentialStore.h"
#include "DavClient.h"
#include "xml/XMLNode.h"

#include <QApplication>
#include <QCoreApplication>

#include <chrono>
#include <ctime>
#include <iostream>
#include <iterator>
#include <string>

namespace {

using halvika::XMLNode;
using halvika::XMLNodePtr;

/// Every request of one synchronisation together stays well inside the host's 30 seconds: no request
/// waits longer than this, and no upload starts after the budget (the rest go at the next round).
constexpr int requestTimeoutMs = 8000;
constexpr std::chrono::seconds uploadBudget{15};
const auto started = std::chrono::steady_clock::now();

std::string escaped(const std::string& text) {
    return XMLNode::stringToXMLString(text);
}

std::string synchronize(const XMLNode& params) {
    const XMLNodePtr settings = params.getNode("syst", 0, "<syst></syst>");
    const XMLNodePtr group = params.getNode("algr", 0, "<algr></algr>");
    const std::string url = settings->getString("url");
    const std::string user = settings->getString("user");
    const halvika::CredentialStore credentials(halvika::CredentialStore::defaultFolder());
    // Nobody is there to answer an unlock window during a synchronisation in the background.
    const auto password = credentials.password(url, user, false);
    if (password.locked) {
        return "<reply><error>" +
               escaped("The keyring that holds the calendar password is locked; the group is synchronised again "
                       "once it is unlocked.") +
               "</error></reply>";
    }
    halvika::DavClient client(QString::fromStdString(user), QString::fromStdString(password.password.value_or("")),
                              requestTimeoutMs);
    halvika::CalDavSync sync(client, std::time(nullptr), started + uploadBudget);
    const halvika::CalDavSync::Outcome outcome = sync.run(*settings, *group);
    if (!outcome.group) {
        return "<reply><error>" + escaped(outcome.problem) + "</error></reply>";
    }
    std::string notes;
    for (const auto& note : outcome.notes) {
        notes += (notes.empty() ? "" : "\r\n") + note;
    }
    // "pending": uploads left for lack of time, so that the host asks again at once instead of in half an hour.
    return "<reply>" + outcome.group->toString() + (notes.empty() ? "" : "<notes>" + escaped(notes) + "</notes>") +
           "<requests>" + std::to_string(outcome.requests) + "</requests><pending>" +
           std::to_string(outcome.leftForNextTime) + "</pending></reply>";
}

std::string answer(const std::string& method, const XMLNode& params) {
    if (method == "GetPlugIns") {
        return "<reply><plugins><plugin><type>SynchronizationPlugIn</type><name>CalDAV</name></plugin></plugins>"
               "</reply>";
    }
    if (method == "GetName") {
        return "<reply><name>CalDAV calendar</name><shows>Settings</shows></reply>";
    }
    if (method == "GetSynchInfo") {
        return "<reply><shortdescription>CalDAV calendar</shortdescription><description>" +
               escaped("Keeps the alarm group and a calendar on a CalDAV server (Nextcloud, Radicale, Baikal, "
                       "many mail providers) the same, in both directions, so that every computer of yours has "
                       "the same alarms.") +
               "</description></reply>";
    }
    if (method == "GetSynchSettingsControlName") {
        return "<reply><name>settings</name></reply>";
    }
    if (method == "Synchronize") {
        return synchronize(params);
    }
    return "<reply></reply>";
}

} // namespace

int main(int argc, char** argv) {
    const std::string request((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    const auto envelope = XMLNode::createFromXML(request);
    const XMLNodePtr params = envelope->getNode("params");
    if (argc > 1 && std::string(argv[1]) == "--settings") {
        QApplication application(argc, argv);
        return halvika::CalDavSettingsWindow::edit(*params);
    }
    QCoreApplication application(argc, argv);
    std::cout << answer(envelope->getString("method"), *params) << std::flush;
    return 0;
}
