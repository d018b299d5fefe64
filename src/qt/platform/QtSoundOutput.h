// Sound through Qt Multimedia, played on a thread of its own; beeps from the display.
#pragma once

#include "platform/QtSoundChannel.h"
#include "platform/SoundOutput.h"

namespace halvika {

class QtSoundOutput : public SoundOutput {
public:
    std::unique_ptr<SoundChannel> openChannel() override { return std::make_unique<QtSoundChannel>(); }
    void beep() override;
    /// Asked through DiskProbe::forAlarms: a file on a share that stopped answering counts as missing, so
    /// the alarm beeps rather than waits.
    bool fileExists(const std::string& path) const override;
};

} // namespace halvika
