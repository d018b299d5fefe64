// Message boxes as QMessageBox.
#include "platform/QtDialogs.h"

#include <QApplication>
#include <QMessageBox>

namespace halvika {

void QtDialogs::applyStyle(QMessageBox& box, int style) {
    const int buttons = style & 0x7;
    const int icon = style & 0x70;
    const bool defaultSecond = (style & 0x300) == styleDefaultSecond;
    switch (icon) {
    case styleCritical:
        box.setIcon(QMessageBox::Critical);
        break;
    case styleQuestion:
        box.setIcon(QMessageBox::Question);
        break;
    case styleExclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case styleInformation:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
    }
    if (buttons == styleYesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(defaultSecond ? QMessageBox::No : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
    }
}

int QtDialogs::answerFor(int standardButton) {
    switch (standardButton) {
    case QMessageBox::Yes:
        return answerYes;
    case QMessageBox::No:
        return answerNo;
    default:
        return answerOk;
    }
}

int QtDialogs::messageBox(const std::string& caption, const std::string& text, int style) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QString::fromStdString(caption));
    box.setText(QString::fromStdString(text));
    applyStyle(box, style);
    return answerFor(box.exec());
}

} // namespace halvika
