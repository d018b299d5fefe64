#include "sounding/clsTimeTeller.h"

#include "dates/DateFormat.h"
#include "dates/DateText.h"
#include "dates/DateUnits.h"

#include <functional>

namespace halvika {

namespace {

/// A replacement may itself hold "<...>" and is then replaced again; this bounds such a chain.
constexpr int maxReplacements = 1000;

/// The text between double quotes number `first` and `first` + 1 (1-based); "" when they are missing.
std::string quoted(std::string_view command, int first) {
    std::size_t at = std::string_view::npos;
    for (int i = 0; i < first; ++i) {
        at = command.find('"', at == std::string_view::npos ? 0 : at + 1);
        if (at == std::string_view::npos) {
            return {};
        }
    }
    const std::size_t end = command.find('"', at + 1);
    return end == std::string_view::npos ? std::string() : std::string(command.substr(at + 1, end - at - 1));
}

/// Replaces bracketed fields from the start until none is left; false when `field` fails.
bool replaceFields(std::string& text, const std::function<std::optional<std::string>(std::string_view)>& field) {
    for (int i = 0; i < maxReplacements; ++i) {
        const std::size_t open = text.find('<');
        if (open == std::string::npos) {
            return true;
        }
        const std::size_t close = text.find('>', open + 1);
        if (close == std::string::npos) {
            return true;
        }
        const auto replacement = field(std::string_view(text).substr(open + 1, close - open - 1));
        if (!replacement) {
            return false;
        }
        text.replace(open, close - open + 1, *replacement);
    }
    return true;
}

} // namespace

std::string clsTimeTeller::formatDate(std::string_view templateText, const Date& date) {
    std::string text(templateText);
    replaceFields(text, [&](std::string_view format) { return halvika::formatDate(format, date); });
    return text;
}

std::optional<std::string> clsTimeTeller::formatSpan(std::string_view templateText, const Date& from, const Date& to) {
    std::string text(templateText);
    const bool complete = replaceFields(text, [&](std::string_view interval) -> std::optional<std::string> {
        const auto count = dateDiff(interval, from, to);
        return count ? std::optional<std::string>(std::to_string(*count)) : std::nullopt;
    });
    return complete ? std::optional<std::string>(text) : std::nullopt;
}

std::optional<std::string> clsTimeTeller::sentenceFor(std::string_view command, const Date& now) {
    std::string full(command);
    if (full.size() < 3) {
        full = "now " + std::string(defaultTemplate);
    }
    const std::string word = full.substr(0, 3);
    std::string templateText = quoted(full, 1);
    const std::string dateText = quoted(full, 3);
    if (word == "now") {
        if (templateText.empty()) {
            templateText = quoted(defaultTemplate, 1);
        }
        return formatDate(templateText, now);
    }
    if (word != "unt" && word != "sin" && word != "cus") {
        return std::string(cannotSpeak);
    }
    const auto date = DateText::parse(dateText);
    if (!date) {
        return std::nullopt;
    }
    if (word == "unt") {
        return formatSpan(templateText, now, *date);
    }
    if (word == "sin") {
        return formatSpan(templateText, *date, now);
    }
    return formatDate(templateText, *date);
}

} // namespace halvika
