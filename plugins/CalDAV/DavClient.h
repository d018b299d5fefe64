// HTTP for WebDAV and CalDAV, one request at a time, with a time limit and a size limit on every reply.
#pragma once

#include <QNetworkAccessManager>
#include <QString>
#include <QUrl>

#include <chrono>
#include <string>
#include <vector>

namespace halvika {

class DavClient {
public:
    struct Reply {
        int status = 0;  ///< the HTTP status; 0 when no answer came
        QString problem; ///< what went wrong when no answer came (network, TLS, time, size)
        std::string body;
        std::string etag;    ///< the ETag header
        QUrl url;            ///< where the reply came from (after redirects)
        bool cutOff = false; ///< an answer began but the connection broke before its end (status 0 then)
        bool ok() const { return status >= 200 && status < 300; }
    };

    /// Replies larger than this are cut off and count as failed.
    static constexpr qint64 maxReplyBytes = 32LL * 1024 * 1024;

    DavClient(QString user, QString password, int timeoutMs);

    struct Request {
        QByteArray method;
        QUrl url;
        std::string body;
        std::vector<std::pair<QByteArray, QByteArray>> headers;
    };

    /// TLS certificates are verified (Qt's default).
    Reply send(const QByteArray& method, const QUrl& url, const std::string& body = {},
               const std::vector<std::pair<QByteArray, QByteArray>>& headers = {});
    /// Several requests, up to `parallel` at a time over kept-alive connections; the replies in the same order.
    /// None is started after `stopStarting`: those are answered with status `notSent`.
    std::vector<Reply>
    sendAll(const std::vector<Request>& requests, int parallel = 6,
            std::chrono::steady_clock::time_point stopStarting = std::chrono::steady_clock::time_point::max());
    static constexpr int notSent = -1;

private:
    struct InFlight;
    void start(InFlight& flight, const Request& request);
    static Reply finish(InFlight& flight);

    QNetworkAccessManager m_network;
    QByteArray m_authorization;
    int m_timeoutMs;
};

} // namespace halvika
