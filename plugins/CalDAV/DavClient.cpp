// HTTP for WebDAV and CalDAV, one request at a time, with a time limit and a size limit on every reply.
#include "DavClient.h"

#include <QBuffer>
#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace halvika {

DavClient::DavClient(QString user, QString password, int timeoutMs) : m_timeoutMs(timeoutMs) {
    if (!user.isEmpty()) {
        m_authorization = "Basic " + (user + ":" + password).toUtf8().toBase64();
    }
    m_network.setRedirectPolicy(QNetworkRequest::SameOriginRedirectPolicy);
}

DavClient::Reply DavClient::send(const QByteArray& method, const QUrl& url, const std::string& body,
                                 const std::vector<std::pair<QByteArray, QByteArray>>& headers) {
    QNetworkRequest request(url);
    request.setTransferTimeout(m_timeoutMs);
    if (!m_authorization.isEmpty()) {
        request.setRawHeader("Authorization", m_authorization);
    }
    for (const auto& [name, value] : headers) {
        request.setRawHeader(name, value);
    }
    QByteArray data = QByteArray::fromStdString(body);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QNetworkReply* reply = m_network.sendCustomRequest(request, method, body.empty() ? nullptr : &buffer);
    Reply result;
    QByteArray received;
    bool tooLarge = false;
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        received += reply->readAll();
        if (received.size() > maxReplyBytes) {
            tooLarge = true;
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
    deadline.start(m_timeoutMs);
    if (!reply->isFinished()) {
        loop.exec();
    }
    if (!tooLarge) {
        received += reply->readAll();
    }
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.url = reply->url();
    result.etag = reply->rawHeader("ETag").toStdString();
    if (tooLarge) {
        result.status = 0;
        result.problem = QStringLiteral("the server's answer was larger than %1 MB").arg(maxReplyBytes >> 20);
    } else if (result.status == 0) {
        result.problem = reply->errorString();
    } else {
        result.body = received.toStdString();
    }
    reply->deleteLater();
    return result;
}

} // namespace halvika
