// Sounding windows without a screen: records which windows are open; posted work waits for flush().
#pragma once

#include "platform/SoundingViews.h"

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace halvika::test {

class FakeSoundingViews : public SoundingViews {
public:
    struct Counts {
        int open = 0;
        int opened = 0;
        int refreshes = 0;
    };

    class FakeView : public View {
    public:
        explicit FakeView(Counts& counts) : m_counts(counts) {
            ++m_counts.open;
            ++m_counts.opened;
        }
        ~FakeView() override { --m_counts.open; }
        void refresh() override { ++m_counts.refreshes; }

    private:
        Counts& m_counts;
    };

    std::unique_ptr<View> openAlarmWindow(AlarmWindowLogic&) override {
        return std::make_unique<FakeView>(alarmWindows);
    }
    std::unique_ptr<View> openSoundWindow(SoundWindowLogic&, const std::string& caption) override {
        soundCaptions.push_back(caption);
        return std::make_unique<FakeView>(soundWindows);
    }
    std::unique_ptr<View> openAlarmClock(AlarmClockLogic&) override { return std::make_unique<FakeView>(alarmClocks); }
    void post(std::function<void()> work) override { m_posted.push_back(std::move(work)); }

    /// Runs the posted work, as the event loop would.
    void flush() {
        while (!m_posted.empty()) {
            auto work = std::move(m_posted.front());
            m_posted.pop_front();
            work();
        }
    }

    Counts alarmWindows;
    Counts soundWindows;
    Counts alarmClocks;
    std::vector<std::string> soundCaptions;

private:
    std::deque<std::function<void()>> m_posted;
};

} // namespace halvika::test
