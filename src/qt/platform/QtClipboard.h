// The desktop's clipboard through QClipboard.
#pragma once

#include "platform/Clipboard.h"

namespace halvika {

class QtClipboard : public Clipboard {
public:
    std::string text() const override;
    void setText(const std::string& text) override;
    void clear() override;
};

} // namespace halvika
