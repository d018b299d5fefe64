// A window whose captions come from the language file; applying a language translates every open one.
#pragma once

class QWidget;

namespace halvika {

class Translatable {
public:
    virtual ~Translatable() = default;
    /// Sets the captions and list entries from the current language file.
    virtual void translate() = 0;
    /// Translates every open top-level window (and the main window's own parts).
    static void translateAll();
};

} // namespace halvika
