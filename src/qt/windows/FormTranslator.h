// Window captions from the language file: the window's own caption and those of its buttons, labels and menus.
#pragma once

class QWidget;

namespace halvika {

class modTranslation;

class FormTranslator {
public:
    /// The section is the window's object name; each button, check box, option button, label, menu and menu
    /// entry with an object name takes its caption from the key of that name. A missing key keeps the
    /// current caption.
    static void translateForm(QWidget& window, modTranslation& texts);
};

} // namespace halvika
