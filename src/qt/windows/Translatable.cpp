#include "windows/Translatable.h"

#include <QApplication>
#include <QWidget>

namespace halvika {

void Translatable::translateAll() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* translatable = dynamic_cast<Translatable*>(window)) {
            translatable->translate();
        }
    }
}

} // namespace halvika
