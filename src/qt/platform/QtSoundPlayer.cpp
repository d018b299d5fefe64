#include "platform/QtSoundPlayer.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QSoundEffect>
#include <QUrl>

namespace halvika {

QtSoundPlayer::QtSoundPlayer() = default;

QtSoundPlayer::~QtSoundPlayer() {
    stop();
}

void QtSoundPlayer::playMedia(const QString& file, quint64 play) {
    closeMediaPlayer();
    m_player = new QMediaPlayer(this);
    m_audio = new QAudioOutput(this);
    m_player->setAudioOutput(m_audio);
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this, [this, play](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::EndOfMedia) {
            emit mediaDone(play);
        }
    });
    connect(m_player, &QMediaPlayer::errorOccurred, this, [this, play](QMediaPlayer::Error error) {
        if (error != QMediaPlayer::NoError) {
            emit mediaFailed(play);
        }
    });
    m_player->setSource(QUrl::fromLocalFile(file));
    if (m_player->error() != QMediaPlayer::NoError) {
        closeMediaPlayer();
        emit mediaFailed(play);
        return;
    }
    m_player->play();
    emit mediaStarted(play);
}

void QtSoundPlayer::playEffect(const QString& file, int loops) {
    if (!m_effect) {
        m_effect = new QSoundEffect(this);
    }
    m_effect->stop();
    m_effect->setSource(QUrl::fromLocalFile(file));
    m_effect->setLoopCount(loops);
    m_effect->play();
}

void QtSoundPlayer::closeMediaPlayer() {
    if (m_player) {
        m_player->disconnect(this);
        m_player->stop();
        m_player->deleteLater();
        m_player = nullptr;
    }
    if (m_audio) {
        m_audio->deleteLater();
        m_audio = nullptr;
    }
}

void QtSoundPlayer::stop() {
    closeMediaPlayer();
    if (m_effect) {
        m_effect->stop();
    }
}

} // namespace halvika
