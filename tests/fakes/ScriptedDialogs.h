// Message boxes answered from a queue the test fills, recording what was asked.
#pragma once

#include "platform/Dialogs.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace halvika::test {

class ScriptedDialogs : public Dialogs {
public:
    struct Shown {
        std::string caption;
        std::string text;
        int style;
    };

    void setNextAnswer(int answer) { m_answers.push_back(answer); }
    /// Runs while the box is "on screen", e.g. to fire a timer tick meanwhile.
    void setWhileShown(std::function<void()> action) { m_whileShown = std::move(action); }

    int messageBox(const std::string& caption, const std::string& text, int style) override {
        m_shown.push_back({caption, text, style});
        if (m_whileShown) {
            m_whileShown();
        }
        if (m_answers.empty()) {
            return answerOk;
        }
        const int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

    const std::vector<Shown>& shown() const { return m_shown; }

private:
    std::deque<int> m_answers;
    std::vector<Shown> m_shown;
    std::function<void()> m_whileShown;
};

} // namespace halvika::test
