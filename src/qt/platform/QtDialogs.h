// Message boxes as QMessageBox, file dialogs as QFileDialog.
#pragma once

#include "platform/Dialogs.h"

#include <QString>

class QMessageBox;

namespace halvika {

class QtDialogs : public Dialogs {
public:
    int messageBox(const std::string& caption, const std::string& text, int style) override;
    /// A box of its own, not modal, that goes when closed.
    void showNotice(const std::string& caption, const std::string& text, int style) override;
    std::vector<std::string> chooseFilesToOpen(const std::string& folder, const std::string& filter,
                                               bool several) override;
    std::string chooseFileToSave(const std::string& proposed, const std::string& filter) override;
    std::string chooseFolder(const std::string& start) override;
    std::optional<std::string> askText(const std::string& caption, const std::string& prompt,
                                       const std::string& proposed) override;

    /// The filter as QFileDialog takes it: "label (patterns);;…". Public for tests.
    static QString qtFilter(const std::string& filter);

    /// Sets up a box for the style: buttons, icon and default button. Public for tests.
    static void applyStyle(QMessageBox& box, int style);
    /// The platform answer code of a clicked standard button.
    static int answerFor(int standardButton);
};

} // namespace halvika
