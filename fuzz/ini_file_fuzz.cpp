// Fuzzes the INI reader with arbitrary file contents.
#include "settings/IniFile.h"
#include "text/Encoding.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = halvika::Encoding::decodeFileText(bytes);
    if (!halvika::Encoding::isValidUtf8(text)) {
        std::abort();
    }
    const halvika::IniFile ini = halvika::IniFile::parse(text);
    for (const char* section : {"Language", "Strings", "frmHalvikaMain", "assistant"}) {
        for (const char* key : {"id", "msid", "s1", "s220", "s2r0"}) {
            if (auto value = ini.value(section, key);
                value && halvika::Encoding::codePointCount(*value) > halvika::IniFile::kMaxValueLength) {
                std::abort();
            }
        }
    }
    return 0;
}
