// The desktop's clipboard, as text.
#pragma once

#include <string>

namespace halvika {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
    virtual void clear() = 0;
};

} // namespace halvika
