// The first-run dialog: language, date order and time format; it ends only through OK.
#include "windows/frmFirstTimeSettings.h"

#include "windows/FormTranslator.h"

#include "settings/SettingsStore.h"
#include "settings/modTranslation.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace halvika {

namespace {
constexpr const char* kSection = "frmFirstTimeSettings";
}

frmFirstTimeSettings::frmFirstTimeSettings(modTranslation& texts, std::vector<LanguageChoice::File> languages,
                                           int userLanguageId, QWidget* parent)
    : QDialog(parent), m_texts(texts), m_languages(std::move(languages)) {
    setObjectName(kSection);
    m_explanation = new QLabel(this);
    m_explanation->setObjectName("lblExplanation");
    m_explanation->setWordWrap(true);
    m_language = new QComboBox(this);
    m_language->setObjectName("cmbLanguage");
    for (const auto& file : m_languages) {
        m_language->addItem(QString::fromStdString(file.name));
    }
    m_dateFormat = new QComboBox(this);
    m_dateFormat->setObjectName("cmbDateFormat");
    m_timeFormat = new QComboBox(this);
    m_timeFormat->setObjectName("cmbTimeFormat");
    auto* ok = new QPushButton(this);
    ok->setObjectName("cmdOk");
    ok->setText("OK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] {
        m_accepted = true;
        accept();
    });

    auto* form = new QFormLayout;
    const auto row = [this, form](const char* name, const char* text, QWidget* field) {
        auto* label = new QLabel(text, this);
        label->setObjectName(name);
        label->setBuddy(field);
        form->addRow(label, field);
    };
    row("lblLanguage", "&Language", m_language);
    row("lblDateFormat", "&Dates", m_dateFormat);
    row("lblTimeFormat", "&Times", m_timeFormat);
    // An alarm clock that is not running does not ring: starting with the session is proposed.
    m_autostart = new QCheckBox("&Start Halvika when I log in", this);
    m_autostart->setObjectName("chkAutostart");
    m_autostart->setChecked(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_explanation);
    layout->addLayout(form);
    layout->addWidget(m_autostart);
    layout->addWidget(ok, 0, Qt::AlignRight);

    const int proposed = LanguageChoice::choose(m_languages, userLanguageId);
    if (proposed >= 0) {
        m_language->setCurrentIndex(proposed);
        m_texts.setLanguage(m_languages[static_cast<std::size_t>(proposed)].name);
    }
    // Choosing a language translates the dialog at once.
    connect(m_language, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(m_languages.size())) {
            m_texts.setLanguage(m_languages[static_cast<std::size_t>(index)].name);
            translate();
        }
    });
    translate();
}

void frmFirstTimeSettings::translate() {
    FormTranslator::translateForm(*this, m_texts);
    setWindowTitle(QString::fromStdString(m_texts.getCaption(kSection, "Welcome to Halvika")));
    m_explanation->setText(m_languages.empty()
                               ? QStringLiteral("No language file was found. You need a language file to use the "
                                                "program.")
                               : QString());
    m_explanation->setVisible(m_languages.empty());
    const int date = std::max(0, m_dateFormat->currentIndex());
    const int time = std::max(0, m_timeFormat->currentIndex());
    m_dateFormat->clear();
    for (int n = 1; n <= 4; ++n) {
        m_dateFormat->addItem(QString::fromStdString(m_texts.getText(kSection, n)));
    }
    m_timeFormat->clear();
    for (int n : {11, 12}) {
        m_timeFormat->addItem(QString::fromStdString(m_texts.getText(kSection, n)));
    }
    m_dateFormat->setCurrentIndex(date);
    m_timeFormat->setCurrentIndex(time);
}

bool frmFirstTimeSettings::startWithSession() const {
    return m_autostart->isChecked();
}

void frmFirstTimeSettings::storeInto(SettingsStore& settings) const {
    const int index = m_language->currentIndex();
    if (index >= 0 && index < static_cast<int>(m_languages.size())) {
        settings.language = m_languages[static_cast<std::size_t>(index)].name;
    }
    settings.dateOrder = static_cast<std::int16_t>(m_dateFormat->currentIndex());
    settings.timeFormat = static_cast<std::int16_t>(m_timeFormat->currentIndex());
    settings.displayFormats = SettingsStore::displayFormatsFor(settings.dateOrder, settings.timeFormat);
}

void frmFirstTimeSettings::done(int result) {
    // Only OK ends the dialog.
    if (m_accepted) {
        QDialog::done(result);
    }
}

void frmFirstTimeSettings::closeEvent(QCloseEvent* event) {
    if (!m_accepted) {
        event->ignore();
    }
}

void frmFirstTimeSettings::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        m_accepted = true;
        accept();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace halvika
