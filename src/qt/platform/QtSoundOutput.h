// Sound through Qt Multimedia: QMediaPlayer as the media player, QSoundEffect as the simple player.
#pragma once

#include "platform/SoundOutput.h"

#include <QObject>
#include <QPointer>

class QAudioOutput;
class QMediaPlayer;
class QSoundEffect;

namespace halvika {

class QtSoundChannel : public QObject, public SoundChannel {
    Q_OBJECT

public:
    QtSoundChannel();
    ~QtSoundChannel() override;
    bool playMedia(const std::string& file) override;
    bool playSimple(const std::string& file) override;
    bool playLooped(const std::string& file) override;
    void stop() override;

private:
    bool playEffect(const std::string& file, int loops);
    void closeMediaPlayer();

    QMediaPlayer* m_player = nullptr;
    QAudioOutput* m_audio = nullptr;
    QSoundEffect* m_effect = nullptr;
};

class QtSoundOutput : public SoundOutput {
public:
    std::unique_ptr<SoundChannel> openChannel() override { return std::make_unique<QtSoundChannel>(); }
    void beep() override;
    bool fileExists(const std::string& path) const override;
};

} // namespace halvika
