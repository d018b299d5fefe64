// The questions asked at start-up about how the last run ended.
#include "app/StartupCheck.h"

namespace halvika {

namespace {
constexpr int styleYesNoExclamation = Dialogs::styleYesNo + Dialogs::styleExclamation;
constexpr int styleYesNoExclamationDefaultNo = styleYesNoExclamation + Dialogs::styleDefaultSecond;
} // namespace

StartupCheck::Outcome StartupCheck::run(const std::string& stateContent, MessageBoxRoutine& messages) {
    Outcome outcome;
    if (stateContent == "1") {
        outcome.safeMode = messages.msgBox(shortRunQuestion, styleYesNoExclamationDefaultNo) == Dialogs::answerYes;
    } else if (stateContent == "2") {
        if (messages.msgBox(crashQuestion, styleYesNoExclamation) != Dialogs::answerYes) {
            outcome.proceed = false;
            return outcome;
        }
        outcome.safeMode = messages.msgBox(safeModeQuestion, styleYesNoExclamationDefaultNo) == Dialogs::answerYes;
    } else if (stateContent == "3") {
        outcome.runState = "3";
    }
    return outcome;
}

} // namespace halvika
