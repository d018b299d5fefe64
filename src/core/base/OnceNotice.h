// A message told once while its cause lasts.
#pragma once

#include <string>

namespace halvika {

class MessageBoxRoutine;

/// Something that goes wrong at every tick (a full disk) is told once, not every half minute: the same
/// text again says nothing until `clear` (the cause went away) or a different text. It is told from the tick,
/// so it never waits for the user: an alarm due while it is on screen sounds.
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
