// The notification for an alarm.
#include "NotificationRequest.h"

#include <algorithm>

namespace halvika {

namespace {

constexpr std::int16_t kindMessage = 1;
constexpr std::int16_t kindMessageAndSpeak = 3;

std::string firstMessage(const XMLNode& alarm) {
    for (int i = 0; i < alarm.getNumberOfNodesWithName("acti"); ++i) {
        const XMLNodePtr action = alarm.getNode("acti", i);
        const std::int16_t kind = action->getInteger("acid");
        if (kind == kindMessage || kind == kindMessageAndSpeak) {
            return action->getNode("sett")->getString("s");
        }
    }
    return {};
}

} // namespace

NotificationRequest NotificationRequest::fromParams(const XMLNode& params) {
    NotificationRequest r;
    const XMLNodePtr alarm = params.getNode("alrm");
    r.summary = alarm->getString("name");
    r.body = params.getNode("sett")->getString("body");
    if (r.body.empty()) {
        r.body = firstMessage(*alarm);
    }
    const std::int16_t importance = alarm->getInteger("impr");
    r.urgency = static_cast<std::uint8_t>(std::clamp(importance + 1, 1, 2));
    return r;
}

std::string NotificationRequest::bodyFor(bool serverTakesMarkup) const {
    // The markup of notification bodies is XML's, with XML's escapes.
    return serverTakesMarkup ? XMLNode::stringToXMLString(body) : body;
}

} // namespace halvika
