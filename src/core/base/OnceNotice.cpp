// A message told once while its cause lasts.
#include "base/OnceNotice.h"

#include "base/MessageBoxRoutine.h"

namespace halvika {

void OnceNotice::tell(const std::string& text) {
    if (text == m_told) {
        return;
    }
    m_told = text;
    m_messages.notice(text, Dialogs::styleExclamation);
}

} // namespace halvika
