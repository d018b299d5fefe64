// One synchronisation of an alarm group with a CalDAV calendar collection, in both directions.
#pragma once

#include "DavClient.h"
#include "DavMultistatus.h"
#include "xml/XMLNode.h"

#include <chrono>
#include <ctime>
#include <map>
#include <string>
#include <vector>

namespace halvika {

/// Each alarm is one calendar resource whose UID the alarm keeps ("suid"). The state between calls lives
/// in the group's synchronisation settings: the collection, the user, the sync token and, per resource,
/// its UID, address, ETag and a fingerprint of the alarm as last synchronised, which tells a local change.
/// Nothing is written blindly: uploads carry If-Match or If-None-Match, and a refused one is treated as a
/// change on both sides. Any failure leaves the group as it came (the changes already made on the server
/// are found again next time) and names its cause in one sentence.
class CalDavSync {
public:
    struct Outcome {
        XMLNodePtr group;               ///< the brought-up-to-date group; none on failure
        std::string problem;            ///< one sentence naming the cause of a failure
        std::vector<std::string> notes; ///< what was imported only approximately
        int uploaded = 0, downloaded = 0, deletedHere = 0, deletedThere = 0, conflicts = 0;
        int requests = 0;
        int leftForNextTime = 0; ///< uploads not started for lack of time
    };

    /// Uploads are started only until `stopUploading`: what is left goes up at the next synchronisation, so
    /// that a large first one never outlasts the host's time limit for a call.
    CalDavSync(DavClient& client, std::time_t now,
               std::chrono::steady_clock::time_point stopUploading = std::chrono::steady_clock::time_point::max())
        : m_client(client), m_now(now), m_stopUploading(stopUploading) {}

    /// `settings` is the group's "syst", `group` its "algr".
    Outcome run(const XMLNode& settings, const XMLNode& group);

    /// The fingerprint of an alarm element: everything but the synchronisation's own marks.
    static std::string fingerprint(const XMLNode& alarm);
    /// The one sentence for an HTTP status or a network failure.
    static std::string problemFor(const DavClient::Reply& reply);

private:
    struct Record {
        std::string uid, href, etag, fingerprint;
        /// How many alarms the resource's events made here (a rule on several weekdays makes several).
        int alarms = 1;
    };
    struct Remote {
        std::string href, etag, data;
        bool gone = false;
        /// The data read as alarms, once (see `readAlarms`).
        bool read = false;
        std::vector<XMLNodePtr> alarms{};
        std::string uid{};             ///< of its events, "" when they have none
        std::int64_t lastModified = 0; ///< the latest LAST-MODIFIED of its events
    };

    bool listChanges(const QUrl& collection, const std::string& token, std::map<std::string, Remote>& changed,
                     std::string& newToken, const std::map<std::string, Record>& records, Outcome& out);
    bool fetch(const QUrl& collection, std::map<std::string, Remote>& changed, Outcome& out);
    DavClient::Reply request(const QByteArray& method, const QUrl& url, const std::string& body,
                             const std::vector<std::pair<QByteArray, QByteArray>>& headers, Outcome& out);
    /// A PROPFIND or REPORT of depth 1 read as a multistatus; false with the problem said in `out`.
    bool askMultistatus(const QByteArray& method, const QUrl& url, const std::string& body, DavMultistatus& ms,
                        Outcome& out);
    /// Reads the resource's calendar data into alarms the first time it is asked; the importer's notes go
    /// into `out` that once.
    void readAlarms(Remote& remote, Outcome& out);
    std::string calendarOf(const XMLNode& alarm, const std::string& uid);
    /// Whether the resource holds what this alarm would be uploaded as (already read with `readAlarms`).
    bool sameAs(const XMLNode& alarm, const std::string& uid, const Remote& remote);
    /// The UID a new alarm gets: the same for the same alarm in the same calendar, so that an upload whose
    /// answer was lost (the host dropped the reply of a call it gave up on) is recognised, not made twice.
    static std::string uidForNew(const std::string& collection, const XMLNode& alarm, int sameBefore);

    DavClient& m_client;
    std::time_t m_now;
    std::chrono::steady_clock::time_point m_stopUploading;
};

} // namespace halvika
