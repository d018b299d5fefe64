// The state file that tells how the last run ended.
#include "app/StateFile.h"

#include "dates/ArithmeticError.h"
#include "dates/DateUnits.h"
#include "text/TextFile.h"

namespace halvika {

std::string StateFile::read(const std::string& path) {
    return TextFile::readBytes(path).value_or("");
}

bool StateFile::write(const std::string& path, const std::string& content) {
    return TextFile::writeAtomically(path, content);
}

std::string StateFile::exitState(const std::string& runState, const Date& start, const Date& now) {
    if (runState == "3") {
        return "3";
    }
    if (*dateDiff("d", start, now) > 1) {
        return "0";
    }
    return *dateDiff("s", start, now) > 30 ? "0" : "1";
}

} // namespace halvika
