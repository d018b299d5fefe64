// The players of one sound channel, on the sound thread.
#pragma once

#include <QObject>
#include <QString>

class QAudioOutput;
class QMediaPlayer;
class QSoundEffect;

namespace halvika {

/// QMediaPlayer as the media player, QSoundEffect as the simple one. Lives and is deleted on the sound thread
/// (`QtWorkerThread::sound`); its signals reach the channel queued. Each media play carries the channel's
/// number for it, so that the end of a play the channel has since stopped is not taken for the end of the next.
class QtSoundPlayer : public QObject {
    Q_OBJECT

public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;

    void playMedia(const QString& file, quint64 play);
    void playEffect(const QString& file, int loops);
    void stop();

signals:
    void mediaStarted(quint64 play);
    void mediaDone(quint64 play);
    void mediaFailed(quint64 play);

private:
    void closeMediaPlayer();

    QMediaPlayer* m_player = nullptr;
    QAudioOutput* m_audio = nullptr;
    QSoundEffect* m_effect = nullptr;
};

} // namespace halvika
