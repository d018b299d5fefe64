// The desktop's clipboard through QClipboard.
#include "platform/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace halvika {

std::string QtClipboard::text() const {
    return QGuiApplication::clipboard()->text().toStdString();
}

void QtClipboard::setText(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

void QtClipboard::clear() {
    QGuiApplication::clipboard()->clear();
}

} // namespace halvika
