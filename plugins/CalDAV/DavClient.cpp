// HTTP for WebDAV and CalDAV, one request at a time, with a time limit and a size limit on every reply.
#include "DavClient.h"

#include <QBuffer>
#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

#include <memory>

namespace halvika {

DavClient::DavClient(QString user, QString password, int timeoutMs) : m_timeoutMs(timeoutMs) {
    if (!user.isEmpty()) {
        m_authorization = "Basic " + (user + ":" + password).toUtf8().toBase64();
    }
    m_network.setRedirectPolicy(QNetworkRequest::SameOriginRedirectPolicy);
}

struct DavClient::InFlight {
    QNetworkReply* reply = nullptr;
    QByteArray sent;
    QBuffer buffer;
    QByteArray received;
    bool tooLarge = false;
    bool done = false;
};

void DavClient::start(InFlight& flight, const Request& r) {
    QNetworkRequest request(r.url);
    request.setTransferTimeout(m_timeoutMs);
    if (!m_authorization.isEmpty()) {
        request.setRawHeader("Authorization", m_authorization);
    }
    for (const auto& [name, value] : r.headers) {
        request.setRawHeader(name, value);
    }
    flight.sent = QByteArray::fromStdString(r.body);
    flight.buffer.setBuffer(&flight.sent);
    flight.buffer.open(QIODevice::ReadOnly);
    flight.reply = m_network.sendCustomRequest(request, r.method, r.body.empty() ? nullptr : &flight.buffer);
    QNetworkReply* reply = flight.reply;
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [&flight, reply] {
        flight.received += reply->readAll();
        if (flight.received.size() > maxReplyBytes) {
            flight.tooLarge = true;
            reply->abort();
        }
    });
}

DavClient::Reply DavClient::finish(InFlight& flight) {
    QNetworkReply* reply = flight.reply;
    Reply result;
    if (!flight.tooLarge) {
        flight.received += reply->readAll();
    }
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.url = reply->url();
    result.etag = reply->rawHeader("ETag").toStdString();
    if (flight.tooLarge) {
        result.status = 0;
        result.problem = QStringLiteral("the server's answer was larger than %1 MB").arg(maxReplyBytes >> 20);
    } else if (result.status == 0) {
        result.problem = reply->errorString();
    } else if (reply->error() != QNetworkReply::NoError && reply->error() < QNetworkReply::ContentAccessDenied) {
        // A network failure after the status line: what came is a part of the answer, never to be used.
        result.status = 0;
        result.cutOff = true;
        result.problem = reply->errorString();
    } else {
        result.body = flight.received.toStdString();
    }
    reply->deleteLater();
    return result;
}

DavClient::Reply DavClient::send(const QByteArray& method, const QUrl& url, const std::string& body,
                                 const std::vector<std::pair<QByteArray, QByteArray>>& headers) {
    return sendAll({Request{method, url, body, headers}}, 1).front();
}

std::vector<DavClient::Reply> DavClient::sendAll(const std::vector<Request>& requests, int parallel,
                                                 std::chrono::steady_clock::time_point stopStarting) {
    std::vector<std::unique_ptr<InFlight>> flights;
    std::vector<Reply> replies(requests.size());
    std::size_t next = 0;
    std::size_t finished = 0;
    QEventLoop loop;
    // Each request has its own time limit (the transfer timeout); this one catches a server that never
    // answers at all however the limit is counted.
    QTimer deadline;
    deadline.setSingleShot(true);
    const auto launch = [&](auto& self) -> void {
        if (next >= requests.size()) {
            return;
        }
        if (std::chrono::steady_clock::now() >= stopStarting) {
            // Out of time: the rest are answered at once as not sent.
            while (next < requests.size()) {
                replies[next++].status = notSent;
                ++finished;
            }
            if (finished == requests.size()) {
                loop.quit();
            }
            return;
        }
        const std::size_t index = next++;
        flights.push_back(std::make_unique<InFlight>());
        InFlight& flight = *flights.back();
        start(flight, requests[index]);
        QObject::connect(flight.reply, &QNetworkReply::finished, &loop, [&, index, &flight = flight] {
            if (flight.done) {
                return;
            }
            flight.done = true;
            replies[index] = finish(flight);
            ++finished;
            deadline.start(m_timeoutMs);
            if (finished == requests.size()) {
                loop.quit();
            } else {
                self(self);
            }
        });
    };
    for (int i = 0; i < parallel; ++i) {
        launch(launch);
    }
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        for (auto& flight : flights) {
            if (!flight->done) {
                flight->reply->abort();
            }
        }
    });
    deadline.start(m_timeoutMs);
    if (finished < requests.size()) {
        loop.exec();
    }
    return replies;
}

} // namespace halvika
