// The program's one message box routine.
#include "base/MessageBoxRoutine.h"

namespace halvika {

int MessageBoxRoutine::msgBox(const std::string& text, int style) {
    if (m_speaker) {
        m_speaker(text);
    }
    const std::string shownCaption = caption();
    // A counter rather than a flag: a box opened from a handler while another waits must not clear the
    // state when it closes first.
    ++m_openCount;
    const int answer = m_dialogs.messageBox(shownCaption, text, style);
    --m_openCount;
    return answer;
}

void MessageBoxRoutine::notice(const std::string& text, int style) {
    if (m_speaker) {
        m_speaker(text);
    }
    m_dialogs.showNotice(caption(), text, style);
}

std::optional<std::string> MessageBoxRoutine::askText(const std::string& prompt, const std::string& proposed) {
    return m_dialogs.askText(caption(), prompt, proposed);
}

std::string MessageBoxRoutine::caption() const {
    const std::string given = m_caption ? m_caption() : std::string();
    return given.empty() ? std::string("Halvika") : given;
}

} // namespace halvika
