// What XMLNode's document and file operations give back: whether they failed.
#pragma once

namespace halvika {

/// These operations report failure, not success (`if (node.toXMLFile(path))` reads "if writing failed"),
/// unlike the rest of the program, whose Booleans mean success. The type keeps the two apart: a flag cannot
/// be returned as a success Boolean, or dropped, without saying so.
class [[nodiscard]] FailureFlag {
public:
    constexpr explicit FailureFlag(bool failed) : m_failed(failed) {}
    constexpr bool failed() const { return m_failed; }
    constexpr explicit operator bool() const { return m_failed; }

private:
    bool m_failed;
};

} // namespace halvika
