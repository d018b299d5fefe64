// Fuzzes the root helper's argument check: whatever it lets through is a second within a year, or a clear.
#include "wakealarm/WakeAlarmArgument.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An argument ends at its first NUL, as one in argv does.
    std::string text(reinterpret_cast<const char*>(data), size);
    text = text.c_str();
    const char* argv[] = {"halvika-wakealarm", text.c_str(), nullptr};
    constexpr std::int64_t now = 1'800'000'000;
    std::int64_t second = -1;
    using Verdict = halvika::WakeAlarmArgument::Verdict;
    const Verdict verdict = halvika::WakeAlarmArgument::check(2, argv, now, second);
    if (verdict == Verdict::Set && (second <= now || second > now + halvika::WakeAlarmArgument::maxAheadSeconds ||
                                    text != std::to_string(second))) {
        std::abort();
    }
    if (verdict != Verdict::Set && second != 0) {
        std::abort();
    }
    if (verdict == Verdict::Clear && text != "0") {
        std::abort();
    }
    return 0;
}
