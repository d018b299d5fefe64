// A WebDAV multistatus reply (RFC 4918, 4791, 6578) as the synchronisation needs it.
#include "DavMultistatus.h"

#include <QXmlStreamReader>

namespace halvika {

namespace {

const QString dav = QStringLiteral("DAV:");
const QString caldav = QStringLiteral("urn:ietf:params:xml:ns:caldav");
const QString calendarServer = QStringLiteral("http://calendarserver.org/ns/");

/// "HTTP/1.1 404 Not Found" → 404.
int statusCode(const QString& line) {
    const QStringList parts = line.split(' ', Qt::SkipEmptyParts);
    bool ok = false;
    const int code = parts.size() >= 2 ? parts[1].toInt(&ok) : 0;
    return ok ? code : 0;
}

bool is(const QXmlStreamReader& r, const QString& ns, const char* name) {
    return r.namespaceUri() == ns && r.name() == QLatin1String(name);
}

/// The text of the first href inside the current element, which is consumed.
QString hrefInside(QXmlStreamReader& r) {
    QString href;
    const int depth = 1;
    int level = depth;
    while (level > 0 && !r.atEnd()) {
        r.readNext();
        if (r.isStartElement()) {
            ++level;
            if (href.isEmpty() && is(r, dav, "href")) {
                href = r.readElementText(QXmlStreamReader::SkipChildElements).trimmed();
                --level;
            }
        } else if (r.isEndElement()) {
            --level;
        }
    }
    return href;
}

void readProp(QXmlStreamReader& r, DavMultistatus::Response& response) {
    while (r.readNextStartElement()) {
        if (is(r, dav, "getetag")) {
            response.etag = r.readElementText(QXmlStreamReader::SkipChildElements).trimmed().toStdString();
        } else if (is(r, caldav, "calendar-data")) {
            response.calendarData = r.readElementText(QXmlStreamReader::SkipChildElements).toStdString();
        } else if (is(r, dav, "displayname")) {
            response.displayName = r.readElementText(QXmlStreamReader::SkipChildElements).trimmed().toStdString();
        } else if (is(r, calendarServer, "getctag")) {
            response.ctag = r.readElementText(QXmlStreamReader::SkipChildElements).trimmed().toStdString();
        } else if (is(r, dav, "current-user-principal")) {
            response.currentUserPrincipal = hrefInside(r).toStdString();
        } else if (is(r, caldav, "calendar-home-set")) {
            response.calendarHomeSet = hrefInside(r).toStdString();
        } else if (is(r, dav, "resourcetype")) {
            while (r.readNextStartElement()) {
                response.isCalendar = response.isCalendar || is(r, caldav, "calendar");
                r.skipCurrentElement();
            }
        } else {
            r.skipCurrentElement();
        }
    }
}

DavMultistatus::Response readResponse(QXmlStreamReader& r) {
    DavMultistatus::Response response;
    bool statusSeen = false;
    while (r.readNextStartElement()) {
        if (is(r, dav, "href")) {
            response.href = r.readElementText(QXmlStreamReader::SkipChildElements).trimmed().toStdString();
        } else if (is(r, dav, "status")) {
            response.status = statusCode(r.readElementText(QXmlStreamReader::SkipChildElements));
            statusSeen = true;
        } else if (is(r, dav, "propstat")) {
            DavMultistatus::Response found;
            int status = 200;
            while (r.readNextStartElement()) {
                if (is(r, dav, "prop")) {
                    readProp(r, found);
                } else if (is(r, dav, "status")) {
                    status = statusCode(r.readElementText(QXmlStreamReader::SkipChildElements));
                } else {
                    r.skipCurrentElement();
                }
            }
            // Properties the server does not have come in a propstat of their own (404): ignored.
            if (status >= 200 && status < 300) {
                response.etag = found.etag.empty() ? response.etag : found.etag;
                response.calendarData = found.calendarData.empty() ? response.calendarData : found.calendarData;
                response.displayName = found.displayName.empty() ? response.displayName : found.displayName;
                response.ctag = found.ctag.empty() ? response.ctag : found.ctag;
                response.isCalendar = response.isCalendar || found.isCalendar;
                if (!found.currentUserPrincipal.empty()) {
                    response.currentUserPrincipal = found.currentUserPrincipal;
                }
                if (!found.calendarHomeSet.empty()) {
                    response.calendarHomeSet = found.calendarHomeSet;
                }
            } else if (!statusSeen && response.etag.empty()) {
                response.status = status;
            }
        } else {
            r.skipCurrentElement();
        }
    }
    return response;
}

} // namespace

DavMultistatus DavMultistatus::read(std::string_view xml) {
    DavMultistatus result;
    QXmlStreamReader r(QByteArray::fromRawData(xml.data(), static_cast<qsizetype>(xml.size())));
    if (!r.readNextStartElement() || !is(r, dav, "multistatus")) {
        return result;
    }
    while (r.readNextStartElement()) {
        if (is(r, dav, "response")) {
            result.responses.push_back(readResponse(r));
        } else if (is(r, dav, "sync-token")) {
            result.syncToken = r.readElementText(QXmlStreamReader::SkipChildElements).trimmed().toStdString();
        } else {
            r.skipCurrentElement();
        }
    }
    result.valid = !r.hasError();
    if (!result.valid) {
        result.responses.clear();
        result.syncToken.clear();
    }
    return result;
}

} // namespace halvika
