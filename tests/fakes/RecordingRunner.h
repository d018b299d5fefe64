// An action runner that records every sounding instead of acting.
#pragma once

#include "alarms/ActionRunner.h"
#include "alarms/Alarm.h"
#include "alarms/clsAction.h"

#include <functional>
#include <string>
#include <vector>

namespace halvika::test {

class RecordingRunner : public ActionRunner {
public:
    struct Sounding {
        std::string alarm;
        Date moment;
        bool real;
    };
    void countSoundedAlarm() override { ++counted; }
    void doAction(clsAction& action, const Date& moment, bool real) override {
        soundings.push_back({action.al ? action.al->name : std::string(), moment, real});
        if (onAction) {
            onAction();
        }
    }
    void stopSounds() override { ++stops; }
    void releaseFinishedSpeech() override {}
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& s : soundings) {
            out.push_back(s.alarm);
        }
        return out;
    }

    int counted = 0;
    int stops = 0;
    std::vector<Sounding> soundings;
    /// Called at each action, to look at the state the program is in at that moment.
    std::function<void()> onAction;
};

} // namespace halvika::test
