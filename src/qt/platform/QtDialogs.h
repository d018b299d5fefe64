// Message boxes as QMessageBox.
#pragma once

#include "platform/Dialogs.h"

class QMessageBox;

namespace halvika {

class QtDialogs : public Dialogs {
public:
    int messageBox(const std::string& caption, const std::string& text, int style) override;

    /// Sets up a box for the style: buttons, icon and default button. Public for tests.
    static void applyStyle(QMessageBox& box, int style);
    /// The platform answer code of a clicked standard button.
    static int answerFor(int standardButton);
};

} // namespace halvika
