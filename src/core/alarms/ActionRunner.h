// What sounding an alarm asks of the rest of the program.
#pragma once

#include "dates/Date.h"

namespace halvika {

class clsAction;

class ActionRunner {
public:
    virtual ~ActionRunner() = default;
    /// Adds one to the count of sounded alarms kept with the settings (a real sounding only).
    virtual void countSoundedAlarm() = 0;
    /// Runs one action; `real` is false when the user tests the alarm.
    virtual void doAction(clsAction& action, const Date& soundingDate, bool real) = 0;
    /// Closes the sound and speech windows and stops the alarm clocks.
    virtual void stopSounds() = 0;
    /// Lets go of speech that has finished, so that texts waiting for their turn can start.
    virtual void releaseFinishedSpeech() = 0;
};

} // namespace halvika
