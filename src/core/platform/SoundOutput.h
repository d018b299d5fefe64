// Playing sound files: a media player with end and error events, a simple player without them, a beep.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace halvika {

/// One player of one sound window or alarm clock. Events come back on the user-interface thread.
class SoundChannel {
public:
    virtual ~SoundChannel() = default;
    /// Called when a sound started with the media player has played to its end.
    std::function<void()> onMediaDone;
    /// Called when the media player could not go on with a sound it had started.
    std::function<void()> onMediaError;

    /// Starts the file in the media player; false when it cannot start.
    virtual bool playMedia(const std::string& file) = 0;
    /// Starts the file in the simple player, which reports no end; false when it cannot play.
    virtual bool playSimple(const std::string& file) = 0;
    /// Plays the file over and over until stopped; false when it cannot play.
    virtual bool playLooped(const std::string& file) = 0;
    /// Stops whatever plays and closes the media player.
    virtual void stop() = 0;
};

class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    virtual std::unique_ptr<SoundChannel> openChannel() = 0;
    virtual void beep() = 0;
    /// True when the file exists and can be read.
    virtual bool fileExists(const std::string& path) const = 0;
};

} // namespace halvika
