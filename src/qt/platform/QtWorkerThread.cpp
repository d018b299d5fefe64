#include "platform/QtSoundThread.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QObject>
#include <QThread>

#include <chrono>

namespace halvika {

QtSoundThread& QtSoundThread::instance() {
    // Never destroyed: a thread stuck in the sound server must not be destroyed while it runs.
    static QtSoundThread* const thread = new QtSoundThread;
    return *thread;
}

QtSoundThread::QtSoundThread() : m_thread(new QThread), m_jobs(new QObject) {
    m_thread->setObjectName("Halvika sound");
    m_jobs->moveToThread(m_thread);
    QObject::connect(m_thread, &QThread::finished, m_jobs, &QObject::deleteLater);
    m_thread->start();
    qAddPostRoutine(&QtSoundThread::shutDown);
}

std::int64_t QtSoundThread::nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void QtSoundThread::post(std::function<void()> job) {
    m_watch.handedOver(nowMs());
    QMetaObject::invokeMethod(
        m_jobs,
        [this, job = std::move(job)] {
            job();
            m_watch.finished(nowMs());
        },
        Qt::QueuedConnection);
}

bool QtSoundThread::stalled() const {
    return m_watch.stalled(nowMs());
}

void QtSoundThread::shutDown() {
    QtSoundThread& self = instance();
    QMetaObject::invokeMethod(
        self.m_jobs, [] { QThread::currentThread()->quit(); }, Qt::QueuedConnection);
    s_heldAtExit = !self.m_thread->wait(QDeadlineTimer(1000));
}

} // namespace halvika
