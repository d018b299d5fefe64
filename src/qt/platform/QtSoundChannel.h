// One sound channel as the user-interface thread sees it: jobs handed to the sound thread.
#pragma once

#include "platform/SoundOutput.h"

#include <QObject>
#include <QTimer>

namespace halvika {

class QtSoundPlayer;

/// Never waits for the sound server. A media play that has not started within the sound thread's stall
/// limit counts as failed, and until the sound thread is heard from again (or while it is stalled for any
/// channel) the calls answer false at once, so the window beeps instead of queueing plays behind a stuck one.
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
    /// The play whose events count, ended: later events of it are ignored.
    bool endPlay(quint64 play);
    /// The sound thread's word that a play is over: the channel's handler hears of it if it still counts.
    void ended(quint64 play, const std::function<void()>& tell);
    bool canPlay() const;

    QtSoundPlayer* m_player; ///< on the sound thread, deleted there
    quint64 m_play = 0;
    QTimer m_startLimit;
    /// A media play did not start in time, and the sound thread has not answered since.
    bool m_unanswered = false;
};

} // namespace halvika
