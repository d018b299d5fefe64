// The program's one message box routine.
#pragma once

#include "platform/Dialogs.h"

#include <functional>
#include <optional>
#include <string>

namespace halvika {

/// Every message of the program goes through msgBox. While a box is shown messageBoxOpen() is true, and
/// the tick does no work.
class MessageBoxRoutine {
public:
    explicit MessageBoxRoutine(Dialogs& dialogs) : m_dialogs(dialogs) {}

    /// The caption; "Halvika" until a provider is set or when it gives "".
    void setCaptionProvider(std::function<std::string()> provider) { m_caption = std::move(provider); }
    /// Called with the text before the box is shown, when messages are to be spoken.
    void setSpeaker(std::function<void(const std::string&)> speaker) { m_speaker = std::move(speaker); }

    int msgBox(const std::string& text, int style);
    /// As msgBox, without waiting for the user (Dialogs::showNotice).
    void notice(const std::string& text, int style);
    /// A line of text from the user under the same caption; it does not hold the tick.
    std::optional<std::string> askText(const std::string& prompt, const std::string& proposed);
    bool messageBoxOpen() const { return m_openCount > 0; }
    /// The file dialogs: they do not hold the tick, so they do not count as a message box.
    Dialogs& dialogs() { return m_dialogs; }

private:
    std::string caption() const;

    Dialogs& m_dialogs;
    std::function<std::string()> m_caption;
    std::function<void(const std::string&)> m_speaker;
    int m_openCount = 0;
};

} // namespace halvika
