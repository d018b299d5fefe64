#include "platform/QtSoundOutput.h"

#include <QApplication>
#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QSoundEffect>
#include <QUrl>

namespace halvika {

QtSoundChannel::QtSoundChannel() = default;

QtSoundChannel::~QtSoundChannel() {
    stop();
}

bool QtSoundChannel::playMedia(const std::string& file) {
    closeMediaPlayer();
    m_player = new QMediaPlayer(this);
    m_audio = new QAudioOutput(this);
    m_player->setAudioOutput(m_audio);
    QObject::connect(m_player, &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::EndOfMedia && onMediaDone) {
            onMediaDone();
        }
    });
    QObject::connect(m_player, &QMediaPlayer::errorOccurred, this, [this](QMediaPlayer::Error error) {
        if (error != QMediaPlayer::NoError && onMediaError) {
            onMediaError();
        }
    });
    m_player->setSource(QUrl::fromLocalFile(QString::fromStdString(file)));
    if (m_player->error() != QMediaPlayer::NoError) {
        closeMediaPlayer();
        return false;
    }
    m_player->play();
    return true;
}

bool QtSoundChannel::playEffect(const std::string& file, int loops) {
    if (!m_effect) {
        m_effect = new QSoundEffect(this);
    }
    m_effect->stop();
    m_effect->setSource(QUrl::fromLocalFile(QString::fromStdString(file)));
    m_effect->setLoopCount(loops);
    if (m_effect->status() == QSoundEffect::Error) {
        return false;
    }
    m_effect->play();
    return true;
}

bool QtSoundChannel::playSimple(const std::string& file) {
    // The simple player only knows WAV files.
    return QString::fromStdString(file).endsWith(".wav", Qt::CaseInsensitive) && playEffect(file, 1);
}

bool QtSoundChannel::playLooped(const std::string& file) {
    return QFileInfo::exists(QString::fromStdString(file)) && playEffect(file, QSoundEffect::Infinite);
}

void QtSoundChannel::closeMediaPlayer() {
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

void QtSoundChannel::stop() {
    closeMediaPlayer();
    if (m_effect) {
        m_effect->stop();
    }
}

void QtSoundOutput::beep() {
    QApplication::beep();
}

bool QtSoundOutput::fileExists(const std::string& path) const {
    const QFileInfo info(QString::fromStdString(path));
    return info.isFile() && info.isReadable();
}

} // namespace halvika
