// What a desktop notification for an alarm says: its summary, body and urgency, from the action's settings
// and the alarm that sounds.
#pragma once

#include "xml/XMLNode.h"

#include <cstdint>
#include <string>

namespace halvika {

struct NotificationRequest {
    std::string summary;
    std::string body;
    /// The urgency hint of org.freedesktop.Notifications: 0 low, 1 normal, 2 critical.
    std::uint8_t urgency = 1;

    /// From an Execute call's parameters: the settings element "sett" (its "body" is the text; when empty,
    /// the alarm's first message) and the alarm "alrm" (its name is the summary; importance 0 gives a
    /// normal, 1 and 2 a critical notification, which stays until the user closes it).
    static NotificationRequest fromParams(const XMLNode& params);

    /// The body as sent to a server: one that takes markup in bodies would read the alarm's "&" and "<" as
    /// markup (and some then show nothing), so for it they are escaped.
    std::string bodyFor(bool serverTakesMarkup) const;
};

} // namespace halvika
