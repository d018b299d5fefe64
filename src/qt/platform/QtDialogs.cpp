// Message boxes as QMessageBox, file dialogs as QFileDialog.
#include "platform/QtDialogs.h"
#include "platform/EventTrace.h"

#include "text/FileDialogFilter.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

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
    // Messages carry names, paths and plug-ins' words, which are never markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromStdString(text));
    applyStyle(box, style);
    EventTrace::note("question");
    const int answer = answerFor(box.exec());
    // Hidden without a button pressed (the program is ending): nobody chose, so the cautious answer.
    if (box.clickedButton() == nullptr && box.standardButtons().testFlag(QMessageBox::No)) {
        return answerNo;
    }
    return answer;
}

void QtDialogs::showNotice(const std::string& caption, const std::string& text, int style) {
    auto* box = new QMessageBox(QApplication::activeWindow());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->setWindowTitle(QString::fromStdString(caption));
    box->setTextFormat(Qt::PlainText);
    box->setText(QString::fromStdString(text));
    applyStyle(*box, style);
    box->show();
    // Once the loop runs again: a notice of the start comes before the main window, which would cover it.
    QTimer::singleShot(0, box, [box] { box->raise(); });
}

QString QtDialogs::qtFilter(const std::string& filter) {
    QStringList shown;
    for (const auto& entry : FileDialogFilter::parse(filter)) {
        shown << QString::fromStdString(FileDialogFilter::shownForm(entry));
    }
    return shown.join(";;");
}

std::vector<std::string> QtDialogs::chooseFilesToOpen(const std::string& folder, const std::string& filter,
                                                      bool several) {
    QFileDialog dialog(QApplication::activeWindow(), QString(), QString::fromStdString(folder), qtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(several ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    std::vector<std::string> chosen;
    if (dialog.exec() == QDialog::Accepted) {
        for (const QString& file : dialog.selectedFiles()) {
            chosen.push_back(file.toStdString());
        }
    }
    return chosen;
}

std::string QtDialogs::chooseFileToSave(const std::string& proposed, const std::string& filter) {
    QFileDialog dialog(QApplication::activeWindow(), QString(), QString::fromStdString(proposed), qtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return "";
    }
    const std::string path = dialog.selectedFiles().front().toStdString();
    const auto entries = FileDialogFilter::parse(filter);
    const QStringList shown = qtFilter(filter).split(";;");
    const auto index = shown.indexOf(dialog.selectedNameFilter());
    return index >= 0 && index < static_cast<qsizetype>(entries.size())
               ? FileDialogFilter::withChosenExtension(path, entries[static_cast<std::size_t>(index)])
               : path;
}

std::string QtDialogs::chooseFolder(const std::string& start) {
    return QFileDialog::getExistingDirectory(QApplication::activeWindow(), QString(), QString::fromStdString(start))
        .toStdString();
}

std::optional<std::string> QtDialogs::askText(const std::string& caption, const std::string& prompt,
                                              const std::string& proposed) {
    bool accepted = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), QString::fromStdString(caption),
                                               QString::fromStdString(prompt), QLineEdit::Normal,
                                               QString::fromStdString(proposed), &accepted);
    if (!accepted) {
        return std::nullopt;
    }
    return text.toStdString();
}

} // namespace halvika
