// One synchronisation of an alarm group with a CalDAV calendar collection, in both directions.
#include "CalDavSync.h"

#include "DavMultistatus.h"
#include "ICalExporter.h"
#include "ICalImporter.h"

#include <QCryptographicHash>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <set>

namespace halvika {

namespace {

const std::pair<QByteArray, QByteArray> xmlBody{"Content-Type", "application/xml; charset=utf-8"};

/// The alarm's UID mark, or "" for an alarm never synchronised.
std::string uidOf(const XMLNode& alarm) {
    return alarm.getString("suid");
}

std::string escaped(const std::string& text) {
    return XMLNode::stringToXMLString(text);
}

QUrl resolved(const QUrl& base, const std::string& href) {
    return base.resolved(QUrl(QString::fromStdString(href)));
}

/// The path part, by which hrefs are compared whatever form the server wrote them in.
std::string pathOf(const QUrl& base, const std::string& href) {
    return resolved(base, href).path(QUrl::FullyDecoded).toStdString();
}

} // namespace

std::string CalDavSync::uidForNew(const std::string& collection, const XMLNode& alarm, int sameBefore) {
    const QByteArray digest = QCryptographicHash::hash(
        QByteArray::fromStdString(collection + "\n" + alarm.toString() + "\n" + std::to_string(sameBefore)),
        QCryptographicHash::Sha256);
    return digest.toHex().left(32).toStdString() + "@halvika";
}

std::string CalDavSync::fingerprint(const XMLNode& alarm) {
    auto copy = alarm.getCopy();
    copy->removeNode("suid");
    copy->removeNode("smod");
    return std::to_string(std::hash<std::string>{}(copy->toString()));
}

std::string CalDavSync::problemFor(const DavClient::Reply& reply) {
    switch (reply.status) {
    case 0:
        return reply.cutOff ? "The calendar server's answer was cut off: " + reply.problem.toStdString() + "."
                            : "The calendar server could not be reached: " + reply.problem.toStdString() + ".";
    case 401:
        return "The calendar server did not accept the user name or password.";
    case 403:
        return "The calendar server does not allow this user to change the calendar.";
    case 404:
    case 410:
        return "The calendar no longer exists on the server.";
    case 507:
        return "The calendar server has no room left for the alarms.";
    default:
        return "The calendar server answered with an error (HTTP " + std::to_string(reply.status) + ").";
    }
}

DavClient::Reply CalDavSync::request(const QByteArray& method, const QUrl& url, const std::string& body,
                                     const std::vector<std::pair<QByteArray, QByteArray>>& headers, Outcome& out) {
    ++out.requests;
    return m_client.send(method, url, body, headers);
}

bool CalDavSync::askMultistatus(const QByteArray& method, const QUrl& url, const std::string& body, DavMultistatus& ms,
                                Outcome& out) {
    const DavClient::Reply reply = request(method, url, body, {xmlBody, {"Depth", "1"}}, out);
    if (!reply.ok()) {
        out.problem = problemFor(reply);
        return false;
    }
    ms = DavMultistatus::read(reply.body);
    if (!ms.valid) {
        out.problem = "The calendar server's answer could not be read.";
        return false;
    }
    return true;
}

bool CalDavSync::listChanges(const QUrl& collection, const std::string& token, std::map<std::string, Remote>& changed,
                             std::string& newToken, const std::map<std::string, Record>& records, Outcome& out) {
    // What changed since the token (everything for an empty one), in one round trip.
    const std::string report = "<?xml version=\"1.0\" encoding=\"utf-8\"?><d:sync-collection xmlns:d=\"DAV:\">"
                               "<d:sync-token>" +
                               escaped(token) +
                               "</d:sync-token><d:sync-level>1</d:sync-level><d:prop><d:getetag/></d:prop>"
                               "</d:sync-collection>";
    DavClient::Reply reply = request("REPORT", collection, report, {xmlBody, {"Depth", "1"}}, out);
    if (reply.ok()) {
        const DavMultistatus ms = DavMultistatus::read(reply.body);
        if (!ms.valid) {
            out.problem = "The calendar server's answer could not be read.";
            return false;
        }
        for (const auto& r : ms.responses) {
            const std::string path = pathOf(collection, r.href);
            if (path == collection.path(QUrl::FullyDecoded).toStdString()) {
                continue; // the collection itself
            }
            const bool gone = r.status == 404 || r.status == 410;
            const bool ours = std::any_of(records.begin(), records.end(), [&](const auto& entry) {
                return entry.second.href == path && entry.second.etag == r.etag;
            });
            if (!gone && ours) {
                continue; // our own upload of the last time, coming back
            }
            changed[path] = Remote{path, r.etag, {}, gone};
        }
        newToken = ms.syncToken;
        return true;
    }
    if (reply.status == 0 || reply.status == 401 || reply.status == 404 || reply.status == 410 || reply.status >= 500) {
        out.problem = problemFor(reply);
        return false;
    }
    // No sync-collection, or a token the server no longer knows: every resource's ETag, compared with ours.
    DavMultistatus ms;
    if (!askMultistatus("PROPFIND", collection,
                        "<?xml version=\"1.0\" encoding=\"utf-8\"?><d:propfind xmlns:d=\"DAV:\"><d:prop><d:getetag/>"
                        "</d:prop></d:propfind>",
                        ms, out)) {
        return false;
    }
    std::set<std::string> present;
    for (const auto& r : ms.responses) {
        const std::string path = pathOf(collection, r.href);
        if (path == collection.path(QUrl::FullyDecoded).toStdString() || r.status != 200) {
            continue;
        }
        present.insert(path);
        const auto known = std::find_if(records.begin(), records.end(),
                                        [&path](const auto& entry) { return entry.second.href == path; });
        if (known == records.end() || known->second.etag != r.etag) {
            changed[path] = Remote{path, r.etag, {}, false};
        }
    }
    for (const auto& [uid, record] : records) {
        if (!present.contains(record.href)) {
            changed[record.href] = Remote{record.href, {}, {}, true};
        }
    }
    newToken.clear();
    return true;
}

bool CalDavSync::fetch(const QUrl& collection, std::map<std::string, Remote>& changed, Outcome& out) {
    std::string hrefs;
    for (const auto& [path, remote] : changed) {
        if (!remote.gone) {
            hrefs += "<d:href>" + escaped(path) + "</d:href>";
        }
    }
    if (hrefs.empty()) {
        return true;
    }
    const std::string report = "<?xml version=\"1.0\" encoding=\"utf-8\"?><c:calendar-multiget xmlns:d=\"DAV:\" "
                               "xmlns:c=\"urn:ietf:params:xml:ns:caldav\"><d:prop><d:getetag/><c:calendar-data/>"
                               "</d:prop>" +
                               hrefs + "</c:calendar-multiget>";
    DavMultistatus ms;
    if (!askMultistatus("REPORT", collection, report, ms, out)) {
        return false;
    }
    for (const auto& r : ms.responses) {
        const auto at = changed.find(pathOf(collection, r.href));
        if (at == changed.end()) {
            continue;
        }
        if (r.status == 404 || r.status == 410) {
            at->second.gone = true; // deleted between the listing and now
        } else {
            at->second.etag = r.etag.empty() ? at->second.etag : r.etag;
            at->second.data = r.calendarData;
        }
    }
    return true;
}

void CalDavSync::readAlarms(Remote& remote, Outcome& out) {
    if (remote.read) {
        return;
    }
    remote.read = true;
    const ICalImporter::Result imported = ICalImporter::importText(remote.data, "CalDAV");
    if (!imported.group) {
        return;
    }
    for (int i = 0; i < imported.group->getNumberOfNodesWithName("alrm"); ++i) {
        remote.alarms.push_back(imported.group->getNode("alrm", i));
    }
    for (const auto& source : imported.sources) {
        remote.uid = remote.uid.empty() ? source.uid : remote.uid;
        remote.lastModified = std::max(remote.lastModified, source.lastModified);
    }
    out.notes.insert(out.notes.end(), imported.notes.begin(), imported.notes.end());
}

bool CalDavSync::sameAs(const XMLNode& alarm, const std::string& uid, const Remote& remote) {
    // Both through the importer, so that only what the calendar data carries is compared.
    const ICalImporter::Result mine = ICalImporter::importText(calendarOf(alarm, uid), "CalDAV");
    if (!mine.group || mine.group->getNumberOfNodesWithName("alrm") != static_cast<int>(remote.alarms.size())) {
        return false;
    }
    for (std::size_t i = 0; i < remote.alarms.size(); ++i) {
        if (fingerprint(*mine.group->getNode("alrm", static_cast<int>(i))) != fingerprint(*remote.alarms[i])) {
            return false;
        }
    }
    return true;
}

std::string CalDavSync::calendarOf(const XMLNode& alarm, const std::string& uid) {
    std::vector<std::string> notes;
    return ICalExporter::exportAlarm(alarm, uid, m_now, notes);
}

CalDavSync::Outcome CalDavSync::run(const XMLNode& settings, const XMLNode& group) {
    Outcome out;
    const QUrl collection(QString::fromStdString(settings.getString("url")));
    if (!collection.isValid() || collection.scheme().isEmpty()) {
        out.problem = "No calendar address is set for this alarm group.";
        return out;
    }
    // What we knew after the last synchronisation.
    std::map<std::string, Record> records;
    for (int i = 0; i < settings.getNumberOfNodesWithName("res"); ++i) {
        const XMLNodePtr r = settings.getNode("res", i);
        Record record{r->getString("uid"), r->getString("href"), r->getString("etag"), r->getString("fp"),
                      std::max(1, static_cast<int>(r->getLong("n", 0, 1)))};
        if (!record.uid.empty()) {
            records[record.uid] = record;
        }
    }
    std::map<std::string, Remote> changed;
    std::string token;
    if (!listChanges(collection, records.empty() ? std::string() : settings.getString("token"), changed, token, records,
                     out) ||
        !fetch(collection, changed, out)) {
        return out;
    }
    const auto remoteFor = [&changed](const std::string& href) -> Remote* {
        const auto at = changed.find(href);
        return at == changed.end() ? nullptr : &at->second;
    };

    // The local alarms in group order. A UID seen again belongs to the same resource when its events made
    // several alarms (its companions); otherwise it is a pasted copy, a new alarm of its own.
    std::vector<XMLNodePtr> alarms;
    std::set<const XMLNode*> companions;
    std::set<std::string> seen;
    for (int i = 0; i < group.getNumberOfNodesWithName("alrm"); ++i) {
        XMLNodePtr alarm = group.getNode("alrm", i)->getCopy();
        const std::string uid = uidOf(*alarm);
        if (!uid.empty() && !seen.insert(uid).second) {
            const auto known = records.find(uid);
            if (known != records.end() && known->second.alarms > 1) {
                companions.insert(alarm.get());
            } else {
                alarm->removeNode("suid");
                alarm->removeNode("smod");
            }
        }
        alarms.push_back(alarm);
    }
    // What becomes of a resource's companions; its first alarm decides.
    enum class Fate { Stay, Drop, KeepAsCopy };
    std::map<std::string, Fate> companionFate;
    std::vector<XMLNodePtr> result;
    std::map<std::string, Record> next;
    const auto conflictCopy = [](const XMLNode& alarm) {
        XMLNodePtr copy = alarm.getCopy();
        copy->removeNode("suid");
        copy->removeNode("smod");
        copy->setString("name", copy->getString("name") + " (conflict)");
        return copy;
    };
    // Uploads are gathered first and sent together, several at a time.
    struct Upload {
        XMLNodePtr alarm;
        std::string uid, href;
        std::optional<Record> keepOnRefusal; ///< what still holds when the server refuses (412)
        std::size_t request = 0;
    };
    std::vector<Upload> uploads;
    std::vector<DavClient::Request> requests;
    const auto upload = [&](const XMLNodePtr& alarm, const std::string& uid, const std::string& href,
                            const std::string& ifMatch, std::optional<Record> keepOnRefusal) {
        const std::string data = calendarOf(*alarm, uid);
        if (data.empty()) {
            return; // an alarm that never sounds has no event; it stays here only
        }
        std::vector<std::pair<QByteArray, QByteArray>> headers{{"Content-Type", "text/calendar; charset=utf-8"}};
        headers.emplace_back(ifMatch.empty() ? QByteArray("If-None-Match") : QByteArray("If-Match"),
                             ifMatch.empty() ? QByteArray("*") : QByteArray::fromStdString(ifMatch));
        uploads.push_back({alarm, uid, href, std::move(keepOnRefusal), requests.size()});
        requests.push_back({"PUT", resolved(collection, href), data, headers});
    };
    const auto take = [&](const std::string& uid, Remote& remote) {
        readAlarms(remote, out);
        for (const XMLNodePtr& alarm : remote.alarms) {
            alarm->setString("suid", uid);
            result.push_back(alarm);
        }
        next[uid] = Record{uid, remote.href, remote.etag,
                           remote.alarms.empty() ? std::string() : fingerprint(*remote.alarms.front()),
                           std::max(1, static_cast<int>(remote.alarms.size()))};
        companionFate[uid] = Fate::Drop;
        ++out.downloaded;
    };

    std::set<std::string> handled;
    std::map<std::string, int> sameNew;
    // A new resource, for an alarm new here or a conflict's copy, which the other computers need as well.
    const auto uploadNew = [&](const XMLNodePtr& alarm) {
        std::string uid = uidOf(*alarm);
        if (uid.empty()) {
            uid = uidForNew(settings.getString("url"), *alarm, sameNew[fingerprint(*alarm)]++);
        }
        const std::string href = collection.path(QUrl::FullyDecoded).toStdString() +
                                 QString::fromStdString(uid).toHtmlEscaped().toStdString() + ".ics";
        upload(alarm, uid, href, {}, std::nullopt);
        result.push_back(alarm);
        handled.insert(uid);
    };
    for (const XMLNodePtr& alarm : alarms) {
        std::string uid = uidOf(*alarm);
        if (companions.contains(alarm.get())) {
            const Fate fate = companionFate.contains(uid) ? companionFate[uid] : Fate::Stay;
            if (fate == Fate::Stay) {
                result.push_back(alarm);
            } else if (fate == Fate::KeepAsCopy) {
                uploadNew(conflictCopy(*alarm));
            }
            continue;
        }
        const auto known = uid.empty() ? records.end() : records.find(uid);
        if (known == records.end()) {
            uploadNew(alarm); // new here (or its record was lost)
            continue;
        }
        const Record& record = known->second;
        handled.insert(uid);
        const bool changedHere = fingerprint(*alarm) != record.fingerprint;
        Remote* remote = remoteFor(record.href);
        companionFate[uid] = remote == nullptr ? Fate::Stay : Fate::Drop;
        if (remote == nullptr && changedHere && record.alarms > 1) {
            // One event made these alarms; one of them alone cannot stand for it there. The change stays here.
            out.notes.push_back("\"" + alarm->getString("name") +
                                "\" was changed here, but its calendar event holds several alarms; the change "
                                "stays on this computer.");
            next[uid] = record;
            result.push_back(alarm);
            continue;
        }
        if (remote == nullptr) {
            // Unchanged there.
            if (changedHere) {
                // Refused when it changed there after all (412): kept here, and looked at again next time.
                upload(alarm, uid, record.href, record.etag, record);
            } else {
                next[uid] = record;
            }
            result.push_back(alarm);
            continue;
        }
        if (remote->gone) {
            if (changedHere) {
                // Deleted there, changed here: the change is not lost; it goes back up.
                upload(alarm, uid, record.href, {}, std::nullopt);
                result.push_back(alarm);
                companionFate[uid] = Fate::KeepAsCopy;
            } else {
                ++out.deletedHere;
            }
            continue;
        }
        if (!changedHere) {
            take(uid, *remote);
            continue;
        }
        readAlarms(*remote, out);
        if (sameAs(*alarm, uid, *remote)) {
            // Our own change, which reached the server in a synchronisation that failed later on.
            next[uid] = Record{uid, record.href, remote->etag, fingerprint(*alarm), record.alarms};
            result.push_back(alarm);
            continue;
        }
        // Changed on both sides: the later one wins, the other is kept as a copy.
        ++out.conflicts;
        const std::int64_t theirs = remote->lastModified;
        const std::int64_t ours = std::atoll(alarm->getString("smod").c_str());
        if (theirs > ours) {
            take(uid, *remote);
            uploadNew(conflictCopy(*alarm));
            companionFate[uid] = Fate::KeepAsCopy;
        } else {
            for (const XMLNodePtr& theirAlarm : remote->alarms) {
                uploadNew(conflictCopy(*theirAlarm));
            }
            upload(alarm, uid, record.href, remote->etag, Record{uid, record.href, remote->etag, {}});
            result.push_back(alarm);
            companionFate[uid] = Fate::Stay;
        }
    }
    // Deleted here: deleted there too, unless it changed there meanwhile.
    for (const auto& [uid, record] : records) {
        if (handled.contains(uid)) {
            continue;
        }
        Remote* remote = remoteFor(record.href);
        if (remote != nullptr && remote->gone) {
            continue;
        }
        if (remote != nullptr) {
            take(uid, *remote); // changed there: the change wins over the deletion
            continue;
        }
        const DavClient::Reply reply = request("DELETE", resolved(collection, record.href), {},
                                               {{"If-Match", QByteArray::fromStdString(record.etag)}}, out);
        if (reply.ok() || reply.status == 404) {
            ++out.deletedThere;
        } else if (reply.status == 412) {
            next[uid] = record; // changed there meanwhile: fetched next time
        } else {
            out.problem = problemFor(reply);
            return Outcome{nullptr, out.problem, {}, 0, 0, 0, 0, 0, out.requests};
        }
    }
    // New there.
    for (auto& [href, remote] : changed) {
        if (remote.gone || remote.data.empty()) {
            continue;
        }
        // Ours already: known, or about to be uploaded from here (an earlier upload whose answer was lost).
        const bool ours =
            std::any_of(next.begin(), next.end(), [&href](const auto& e) { return e.second.href == href; }) ||
            std::any_of(uploads.begin(), uploads.end(), [&href](const Upload& u) { return u.href == href; }) ||
            std::any_of(records.begin(), records.end(), [&href](const auto& e) { return e.second.href == href; });
        if (ours) {
            continue;
        }
        // The resource's UID, from its data (every event of one resource shares it).
        readAlarms(remote, out);
        std::string uid = remote.uid;
        if (uid.empty() || next.contains(uid)) {
            uid = href; // no usable UID: the address stands for it
        }
        take(uid, remote);
    }

    const std::vector<DavClient::Reply> replies = m_client.sendAll(requests, 6, m_stopUploading);
    for (const Upload& u : uploads) {
        const DavClient::Reply& reply = replies[u.request];
        if (reply.status == DavClient::notSent) {
            // Next time: a new alarm stays without a UID, a changed one keeps its old record.
            ++out.leftForNextTime;
            if (u.keepOnRefusal) {
                next[u.uid] = *u.keepOnRefusal;
            } else if (const auto known = records.find(u.uid); known != records.end()) {
                next[u.uid] = known->second;
            }
            continue;
        }
        ++out.requests;
        if (reply.ok()) {
            u.alarm->setString("suid", u.uid);
            next[u.uid] = Record{u.uid, u.href, reply.etag, fingerprint(*u.alarm)};
            ++out.uploaded;
        } else if (reply.status == 412) {
            if (u.keepOnRefusal) {
                next[u.uid] = *u.keepOnRefusal;
            } else {
                // A new alarm whose resource is there already: an earlier upload of it whose answer never
                // arrived. It is this alarm's; taken as synchronised.
                const DavClient::Reply there =
                    request("PROPFIND", resolved(collection, u.href),
                            "<?xml version=\"1.0\" encoding=\"utf-8\"?><d:propfind xmlns:d=\"DAV:\"><d:prop>"
                            "<d:getetag/></d:prop></d:propfind>",
                            {xmlBody, {"Depth", "0"}}, out);
                const DavMultistatus ms = DavMultistatus::read(there.body);
                if (there.ok() && ms.valid && !ms.responses.empty()) {
                    u.alarm->setString("suid", u.uid);
                    next[u.uid] = Record{u.uid, u.href, ms.responses.front().etag, fingerprint(*u.alarm)};
                }
            }
        } else {
            // Nothing is taken over here; what did reach the server is recognised next time.
            return Outcome{nullptr, problemFor(reply), {}, 0, 0, 0, 0, 0, out.requests};
        }
    }

    // The group with its alarms in their new state, and the state for next time.
    auto synced = XMLNode::Create("algr");
    for (int i = 0; i < group.getNumberOfNodes(); ++i) {
        const XMLNodePtr child = group.getNodeAt(i);
        if (child->name != "alrm" && child->name != "syst") {
            synced->addNode(child->getCopy());
        }
    }
    for (const XMLNodePtr& alarm : result) {
        synced->addNode(alarm);
    }
    auto state = XMLNode::Create("syst");
    state->addString("url", settings.getString("url"));
    state->addString("user", settings.getString("user"));
    state->addString("token", token);
    for (const auto& [uid, record] : next) {
        auto r = XMLNode::Create("res");
        r->addString("uid", record.uid);
        r->addString("href", record.href);
        r->addString("etag", record.etag);
        r->addString("fp", record.fingerprint);
        if (record.alarms > 1) {
            r->addLong("n", record.alarms);
        }
        state->addNode(r);
    }
    synced->addNode(state);
    out.group = synced;
    return out;
}

} // namespace halvika
