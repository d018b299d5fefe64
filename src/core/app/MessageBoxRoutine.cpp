// The program's one message box routine.
#include "app/MessageBoxRoutine.h"

namespace halvika {

int MessageBoxRoutine::msgBox(const std::string& text, int style) {
    if (m_speaker) {
        m_speaker(text);
    }
    std::string caption = m_caption ? m_caption() : std::string();
    if (caption.empty()) {
        caption = "Halvika";
    }
    // A counter rather than a flag: a box opened from a handler while another waits must not clear the
    // state when it closes first.
    ++m_openCount;
    const int answer = m_dialogs.messageBox(caption, text, style);
    --m_openCount;
    return answer;
}

} // namespace halvika
