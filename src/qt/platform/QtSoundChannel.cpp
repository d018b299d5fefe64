#include "platform/QtSoundChannel.h"

#include "platform/QtSoundPlayer.h"
#include "platform/QtWorkerThread.h"

#include <QFileInfo>
#include <QSoundEffect>

namespace halvika {

QtSoundChannel::QtSoundChannel() : m_player(new QtSoundPlayer) {
    m_player->moveToThread(QtWorkerThread::sound().thread());
    connect(m_player, &QtSoundPlayer::mediaStarted, this, [this](quint64 play) {
        m_unanswered = false;
        if (play == m_play) {
            m_startLimit.stop();
        }
    });
    connect(m_player, &QtSoundPlayer::mediaDone, this, [this](quint64 play) { ended(play, onMediaDone); });
    connect(m_player, &QtSoundPlayer::mediaFailed, this, [this](quint64 play) { ended(play, onMediaError); });
    m_startLimit.setSingleShot(true);
    m_startLimit.setInterval(QtWorkerThread::stallLimitMs);
    connect(&m_startLimit, &QTimer::timeout, this, [this] {
        m_unanswered = true;
        if (endPlay(m_play) && onMediaError) {
            onMediaError();
        }
    });
}

QtSoundChannel::~QtSoundChannel() {
    disconnect(m_player, nullptr, this, nullptr);
    QtWorkerThread::sound().post([player = m_player] { delete player; });
}

bool QtSoundChannel::endPlay(quint64 play) {
    if (play != m_play) {
        return false;
    }
    ++m_play;
    m_startLimit.stop();
    return true;
}

void QtSoundChannel::ended(quint64 play, const std::function<void()>& tell) {
    m_unanswered = false;
    if (endPlay(play) && tell) {
        tell();
    }
}

bool QtSoundChannel::canPlay() const {
    return !m_unanswered && !QtWorkerThread::sound().stalled();
}

bool QtSoundChannel::playMedia(const std::string& file) {
    endPlay(m_play);
    if (!canPlay()) {
        return false;
    }
    const quint64 play = m_play;
    QtWorkerThread::sound().post(
        [player = m_player, file = QString::fromStdString(file), play] { player->playMedia(file, play); });
    m_startLimit.start();
    return true;
}

bool QtSoundChannel::playEffect(const std::string& file, int loops) {
    if (!canPlay()) {
        return false;
    }
    QtWorkerThread::sound().post(
        [player = m_player, file = QString::fromStdString(file), loops] { player->playEffect(file, loops); });
    return true;
}

bool QtSoundChannel::playSimple(const std::string& file) {
    // The simple player only knows WAV files.
    return QString::fromStdString(file).endsWith(".wav", Qt::CaseInsensitive) && playEffect(file, 1);
}

bool QtSoundChannel::playLooped(const std::string& file) {
    return QFileInfo::exists(QString::fromStdString(file)) && playEffect(file, QSoundEffect::Infinite);
}

void QtSoundChannel::stop() {
    endPlay(m_play);
    QtWorkerThread::sound().post([player = m_player] { player->stop(); });
}

} // namespace halvika
