#include "windows/FormTranslator.h"

#include "settings/modTranslation.h"

#include <QAbstractButton>
#include <QAction>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QWidget>

namespace halvika {

namespace {

QString value(modTranslation& texts, const std::string& section, const QString& key, const QString& current) {
    return QString::fromStdString(texts.getValue(section, key.toStdString(), current.toStdString()));
}

} // namespace

void FormTranslator::translateForm(QWidget& window, modTranslation& texts) {
    if (!QFileInfo::exists(QString::fromStdString(texts.getLanguageFilePath()))) {
        return;
    }
    const std::string section = window.objectName().toStdString();
    window.setWindowTitle(value(texts, section, window.objectName(), window.windowTitle()));
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (!button->objectName().isEmpty()) {
            button->setText(value(texts, section, button->objectName(), button->text()));
        }
    }
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->objectName().isEmpty()) {
            label->setText(value(texts, section, label->objectName(), label->text()));
        }
    }
    for (QGroupBox* frame : window.findChildren<QGroupBox*>()) {
        if (!frame->objectName().isEmpty()) {
            frame->setTitle(value(texts, section, frame->objectName(), frame->title()));
        }
    }
    for (QMenu* menu : window.findChildren<QMenu*>()) {
        if (!menu->objectName().isEmpty()) {
            menu->setTitle(value(texts, section, menu->objectName(), menu->title()));
        }
    }
    for (QAction* action : window.findChildren<QAction*>()) {
        if (!action->objectName().isEmpty()) {
            action->setText(value(texts, section, action->objectName(), action->text()));
        }
    }
}

} // namespace halvika
