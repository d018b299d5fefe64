// "Remind me in…": a wait in minutes (or one click on a usual one) and the message.
#pragma once

#include "windows/Translatable.h"

#include <QDialog>

#include <string>

class QLineEdit;
class QSpinBox;

namespace halvika {

class modTranslation;

class frmQuickReminder : public QDialog, public Translatable {
    Q_OBJECT

public:
    static constexpr const char* section = "frmQuickReminder";

    explicit frmQuickReminder(modTranslation& texts, QWidget* parent = nullptr);
    void translate() override;
    int minutes() const;
    std::string message() const;

private:
    modTranslation& m_texts;
    QSpinBox* m_minutes = nullptr;
    QLineEdit* m_message = nullptr;
};

} // namespace halvika
