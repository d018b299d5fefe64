#include "platform/QtWorkerThread.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QObject>
#include <QThread>

#include <chrono>

namespace halvika {

QtWorkerThread& QtWorkerThread::sound() {
    static QtWorkerThread* const thread = new QtWorkerThread("Halvika sound");
    return *thread;
}

QtWorkerThread& QtWorkerThread::speech() {
    static QtWorkerThread* const thread = new QtWorkerThread("Halvika speech");
    return *thread;
}

void QtWorkerThread::startOnce() {
    if (m_thread) {
        return;
    }
    m_thread = new QThread;
    m_jobs = new QObject;
    m_thread->setObjectName(m_name);
    m_jobs->moveToThread(m_thread);
    QObject::connect(m_thread, &QThread::finished, m_jobs, &QObject::deleteLater);
    m_thread->start();
    if (!s_started[0]) {
        qAddPostRoutine(&QtWorkerThread::shutDown);
    }
    (s_started[0] ? s_started[1] : s_started[0]) = this;
}

std::int64_t QtWorkerThread::nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

QThread* QtWorkerThread::thread() {
    startOnce();
    return m_thread;
}

void QtWorkerThread::post(std::function<void()> job) {
    startOnce();
    m_watch.handedOver(nowMs());
    QMetaObject::invokeMethod(
        m_jobs,
        [this, job = std::move(job)] {
            job();
            m_watch.finished(nowMs());
        },
        Qt::QueuedConnection);
}

bool QtWorkerThread::stalled() const {
    return m_watch.stalled(nowMs());
}

void QtWorkerThread::shutDown() {
    const QDeadlineTimer limit(1000); // for all of them together
    for (QtWorkerThread* worker : s_started) {
        if (worker) {
            QMetaObject::invokeMethod(
                worker->m_jobs, [] { QThread::currentThread()->quit(); }, Qt::QueuedConnection);
        }
    }
    for (QtWorkerThread* worker : s_started) {
        if (worker && !worker->m_thread->wait(limit)) {
            s_heldAtExit = true;
        }
    }
}

} // namespace halvika
