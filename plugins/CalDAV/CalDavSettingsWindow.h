// The plug-in's settings window: server, user, password, a test of the connection and the calendar to use.
#pragma once

#include "xml/XMLNode.h"

namespace halvika {

class CalDavSettingsWindow {
public:
    /// Shows the window for the "syst" element in `params`; prints the new one on OK, nothing on Cancel.
    static int edit(const XMLNode& params);
};

} // namespace halvika
