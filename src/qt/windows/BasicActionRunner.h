// Runs alarm actions until the full alarm and sound windows arrive: messages in a simple window, programs
// through the shell, everything else as a beep.
#pragma once

#include "alarms/ActionRunner.h"

namespace halvika {

class Shell;

class BasicActionRunner : public ActionRunner {
public:
    explicit BasicActionRunner(Shell& shell) : m_shell(shell) {}
    void countSoundedAlarm() override { ++m_sounded; }
    void doAction(clsAction& action, const Date& soundingDate, bool real) override;
    long soundedCount() const { return m_sounded; }

private:
    Shell& m_shell;
    long m_sounded = 0;
};

} // namespace halvika
