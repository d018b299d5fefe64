// A message told once while its cause lasts.
#pragma once

#include <string>

namespace halvika {

class MessageBoxRoutine;

/// Something that goes wrong at every tick (a full disk) is told once, not every half minute: the same
/// text again says nothing until `clear` (the cause went away) or a different text.
class OnceNotice {
public:
    explicit OnceNotice(MessageBoxRoutine& messages) : m_messages(messages) {}

    void tell(const std::string& text);
    void clear() { m_told.clear(); }

private:
    MessageBoxRoutine& m_messages;
    std::string m_told;
};

} // namespace halvika
