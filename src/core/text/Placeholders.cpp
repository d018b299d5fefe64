#include "text/Placeholders.h"

namespace halvika {

std::string Placeholders::fill(std::string text, const std::string& first, const std::string& second,
                               const std::string& third) {
    const std::string values[3] = {first, second, third};
    for (int i = 0; i < 3; ++i) {
        const std::string mark = "#" + std::to_string(i + 1);
        if (values[i] == mark) {
            continue;
        }
        for (std::size_t pos = text.find(mark); pos != std::string::npos;
             pos = text.find(mark, pos + values[i].size())) {
            text.replace(pos, mark.size(), values[i]);
        }
    }
    return text;
}

} // namespace halvika
