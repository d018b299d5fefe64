// The first-run dialog: language, date order and time format; it ends only through OK.
#pragma once

#include "windows/Translatable.h"

#include "settings/LanguageChoice.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;

namespace halvika {

class SettingsStore;
class modTranslation;

class frmFirstTimeSettings : public QDialog, public Translatable {
    Q_OBJECT
public:
    frmFirstTimeSettings(modTranslation& texts, std::vector<LanguageChoice::File> languages, int userLanguageId,
                         QWidget* parent = nullptr);

    /// Stores the choice: language, date order, time format and the four display formats.
    void storeInto(SettingsStore& settings) const;
    /// The answer to the question whether Halvika is to start with the desktop session.
    bool startWithSession() const;
    void translate() override;

    void done(int result) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    modTranslation& m_texts;
    std::vector<LanguageChoice::File> m_languages;
    QLabel* m_explanation = nullptr;
    QComboBox* m_language = nullptr;
    QComboBox* m_dateFormat = nullptr;
    QComboBox* m_timeFormat = nullptr;
    QCheckBox* m_autostart = nullptr;
    bool m_accepted = false;
};

} // namespace halvika
