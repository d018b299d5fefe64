// A clipboard held in memory.
#pragma once

#include "platform/Clipboard.h"

namespace halvika::test {

class MemoryClipboard : public Clipboard {
public:
    std::string text() const override { return m_text; }
    void setText(const std::string& text) override { m_text = text; }
    void clear() override { m_text.clear(); }

private:
    std::string m_text;
};

} // namespace halvika::test
