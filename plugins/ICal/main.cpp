// HalvikaICal.plugin: imports iCalendar files as alarm groups and exports alarm groups as iCalendar files.
// It reads one request envelope on its input and writes one reply on its output.
#include "ICalExporter.h"
#include "ICalImporter.h"
#include "text/TextFile.h"
#include "xml/XMLNode.h"

#include <cstdlib>
#include <ctime>
#include <iostream>
#include <iterator>
#include <string>

namespace {

using halvika::XMLNode;

/// The hour at which an all-day event reminds: "allDayTime=hh:mm" in the user's
/// $XDG_CONFIG_HOME/halvika/HalvikaICal.conf (~/.config when unset), 09:00 without it.
int allDayMinutes() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    const std::string folder = config && *config ? std::string(config) : std::string(home ? home : "") + "/.config";
    const auto text = halvika::TextFile::readBytes(folder + "/halvika/HalvikaICal.conf");
    return halvika::ICalImporter::allDayMinutesFrom(text.value_or(""));
}

std::string baseNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string notesElement(const std::vector<std::string>& notes) {
    std::string text;
    for (const auto& n : notes) {
        text += (text.empty() ? "" : "\r\n") + n;
    }
    return text.empty() ? "" : "<error>" + XMLNode::stringToXMLString(text) + "</error>";
}

std::string answer(const std::string& plugin, const std::string& method, const XMLNode& params) {
    if (method == "GetPlugIns") {
        return "<reply><plugins><plugin><type>FileImportPlugIn</type><name>ICalImport</name></plugin>"
               "<plugin><type>FileExportPlugIn</type><name>ICalExport</name></plugin></plugins></reply>";
    }
    if (method == "GetName") {
        // No windows of its own: the plug-in dialog offers no about, help or settings for it.
        return plugin == "ICalExport" ? "<reply><name>iCalendar export</name><shows></shows></reply>"
                                      : "<reply><name>iCalendar import</name><shows></shows></reply>";
    }
    if (method == "GetImpFileFormats" || method == "GetExpFileFormats") {
        return "<reply><filters>iCalendar (*.ics)|*.ics</filters><extensions>*.ics</extensions></reply>";
    }
    if (method == "GetAlarmgroupFromFile") {
        const std::string path = params.getString("path");
        const auto text = halvika::TextFile::readBytes(path);
        if (!text) {
            return "<reply><error>" + XMLNode::stringToXMLString("Cannot read " + path) + "</error></reply>";
        }
        const auto result = halvika::ICalImporter::importText(*text, baseNameOf(path), allDayMinutes());
        if (!result.group) {
            return "<reply><error>" + XMLNode::stringToXMLString(path + " is not an iCalendar file") +
                   "</error></reply>";
        }
        return "<reply>" + result.group->toString() + notesElement(result.notes) + "</reply>";
    }
    if (method == "SaveAlarmgroupToFile") {
        const std::string path = params.getString("path");
        const auto result = halvika::ICalExporter::exportGroup(*params.getNode("algr"), std::time(nullptr));
        if (!halvika::TextFile::writeAtomically(path, result.text)) {
            return "<reply><error>" + XMLNode::stringToXMLString("Cannot write " + path) + "</error></reply>";
        }
        return "<reply><success></success>" + notesElement(result.notes) + "</reply>";
    }
    return "<reply></reply>";
}

} // namespace

int main() {
    const std::string request((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    const auto envelope = XMLNode::createFromXML(request);
    std::cout << answer(envelope->getString("plugin"), envelope->getString("method"), *envelope->getNode("params"))
              << std::flush;
    return 0;
}
