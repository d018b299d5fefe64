// Message boxes and file dialogs, answered by the user or, in tests, by a script.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace halvika {

/// Message box styles are the platform's numbers: buttons (0 OK, 4 Yes/No) + icon (16 critical,
/// 32 question, 48 exclamation, 64 information) + default button (256 second button).
/// Answers: 1 OK, 6 Yes, 7 No.
class Dialogs {
public:
    static constexpr int answerOk = 1;
    static constexpr int answerYes = 6;
    static constexpr int answerNo = 7;

    static constexpr int styleYesNo = 4;
    static constexpr int styleCritical = 16;
    static constexpr int styleQuestion = 32;
    static constexpr int styleExclamation = 48;
    static constexpr int styleInformation = 64;
    static constexpr int styleDefaultSecond = 256;

    virtual ~Dialogs() = default;
    /// Shows a modal message box and returns the answer code.
    virtual int messageBox(const std::string& caption, const std::string& text, int style) = 0;
    /// A message nothing waits for: shown, and the caller goes on at once. What the program does when
    /// something goes wrong in the background (a save the disk refused) must not stop the alarms until someone
    /// clicks OK. Where a message never waits anyway (printed), it is the message box.
    virtual void showNotice(const std::string& caption, const std::string& text, int style) {
        messageBox(caption, text, style);
    }

    /// File dialogs. `filter` is in the language files' form "text|patterns|..." (patterns joined by ";");
    /// an empty answer means the user cancelled. Without a display (the command-line tool) they cancel.
    virtual std::vector<std::string> chooseFilesToOpen(const std::string& folder, const std::string& filter,
                                                       bool several) {
        (void)folder, (void)filter, (void)several;
        return {};
    }
    /// The chosen path; a name typed without an extension gets the chosen filter's.
    virtual std::string chooseFileToSave(const std::string& proposed, const std::string& filter) {
        (void)proposed, (void)filter;
        return "";
    }
    virtual std::string chooseFolder(const std::string& start) {
        (void)start;
        return "";
    }
    /// A line of text typed by the user, `proposed` shown selected; nothing when they cancel.
    virtual std::optional<std::string> askText(const std::string& caption, const std::string& prompt,
                                               const std::string& proposed) {
        (void)caption, (void)prompt, (void)proposed;
        return std::nullopt;
    }
};

} // namespace halvika
