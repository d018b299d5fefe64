// Finding a user's calendars from a server or principal address, and making a new one.
#include "CalDavDiscovery.h"

#include "CalDavSync.h"
#include "DavMultistatus.h"

#include <QUuid>

namespace halvika {

namespace {

const std::pair<QByteArray, QByteArray> xmlBody{"Content-Type", "application/xml; charset=utf-8"};

std::string escaped(const std::string& text) {
    return XMLNode::stringToXMLString(text);
}

} // namespace

CalDavDiscovery::Result CalDavDiscovery::find(const std::string& address) {
    Result result;
    const QUrl start(QString::fromStdString(address));
    if (!start.isValid() || (start.scheme() != "https" && start.scheme() != "http")) {
        result.problem = "The address must begin with https:// (or http:// on your own network).";
        return result;
    }
    // Who we are and where our calendars live, asked of the given address.
    const std::string ask = "<?xml version=\"1.0\" encoding=\"utf-8\"?><d:propfind xmlns:d=\"DAV:\" "
                            "xmlns:c=\"urn:ietf:params:xml:ns:caldav\"><d:prop><d:current-user-principal/>"
                            "<c:calendar-home-set/><d:resourcetype/></d:prop></d:propfind>";
    DavClient::Reply reply = m_client.send("PROPFIND", start, ask, {xmlBody, {"Depth", "0"}});
    if (!reply.ok()) {
        result.problem = CalDavSync::problemFor(reply);
        return result;
    }
    DavMultistatus ms = DavMultistatus::read(reply.body);
    std::string principal;
    std::string home;
    for (const auto& r : ms.responses) {
        principal = r.currentUserPrincipal.empty() ? principal : r.currentUserPrincipal;
        home = r.calendarHomeSet.empty() ? home : r.calendarHomeSet;
    }
    if (home.empty() && !principal.empty()) {
        reply = m_client.send("PROPFIND", start.resolved(QUrl(QString::fromStdString(principal))), ask,
                              {xmlBody, {"Depth", "0"}});
        ms = DavMultistatus::read(reply.body);
        for (const auto& r : ms.responses) {
            home = r.calendarHomeSet.empty() ? home : r.calendarHomeSet;
        }
    }
    const QUrl homeUrl = home.empty() ? start : start.resolved(QUrl(QString::fromStdString(home)));
    result.home = homeUrl.toString().toStdString();
    reply = m_client.send("PROPFIND", homeUrl,
                          "<?xml version=\"1.0\" encoding=\"utf-8\"?><d:propfind xmlns:d=\"DAV:\"><d:prop>"
                          "<d:resourcetype/><d:displayname/></d:prop></d:propfind>",
                          {xmlBody, {"Depth", "1"}});
    if (!reply.ok()) {
        result.problem = CalDavSync::problemFor(reply);
        return result;
    }
    ms = DavMultistatus::read(reply.body);
    if (!ms.valid) {
        result.problem = "The calendar server's answer could not be read.";
        return result;
    }
    for (const auto& r : ms.responses) {
        if (r.isCalendar) {
            const QUrl url = homeUrl.resolved(QUrl(QString::fromStdString(r.href)));
            result.calendars.push_back({url.toString().toStdString(), r.displayName.empty() ? r.href : r.displayName});
        }
    }
    return result;
}

std::string CalDavDiscovery::create(const std::string& home, const std::string& name, std::string& problem) {
    QUrl url = QUrl(QString::fromStdString(home));
    if (!url.path().endsWith('/')) {
        url.setPath(url.path() + '/');
    }
    url = url.resolved(QUrl(QUuid::createUuid().toString(QUuid::WithoutBraces) + "/"));
    const std::string body = "<?xml version=\"1.0\" encoding=\"utf-8\"?><c:mkcalendar xmlns:d=\"DAV:\" "
                             "xmlns:c=\"urn:ietf:params:xml:ns:caldav\"><d:set><d:prop><d:displayname>" +
                             escaped(name) +
                             "</d:displayname><c:supported-calendar-component-set><c:comp name=\"VEVENT\"/>"
                             "</c:supported-calendar-component-set></d:prop></d:set></c:mkcalendar>";
    const DavClient::Reply reply = m_client.send("MKCALENDAR", url, body, {xmlBody});
    if (!reply.ok()) {
        problem = CalDavSync::problemFor(reply);
        return "";
    }
    return url.toString().toStdString();
}

} // namespace halvika
