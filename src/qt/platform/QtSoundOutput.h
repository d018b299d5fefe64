// Sound through Qt Multimedia, played on a thread of its own; beeps from the display.
#pragma once

#include "base/DiskProbe.h"
#include "platform/QtSoundChannel.h"
#include "platform/SoundOutput.h"

#include <chrono>

namespace halvika {

class QtSoundOutput : public SoundOutput {
public:
    std::unique_ptr<SoundChannel> openChannel() override { return std::make_unique<QtSoundChannel>(); }
    void beep() override;
    /// Asked on a thread of its own: a file on a share that stopped answering counts as missing after
    /// `fileCheckLimit`, so the alarm beeps rather than waits.
    bool fileExists(const std::string& path) const override;

    static constexpr std::chrono::milliseconds fileCheckLimit{250};

private:
    DiskProbe m_probe{fileCheckLimit};
};

} // namespace halvika
