#include "windows/frmQuickReminder.h"

#include "editing/QuickReminder.h"
#include "settings/modTranslation.h"
#include "windows/AppIcon.h"
#include "windows/FormTranslator.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace halvika {

frmQuickReminder::frmQuickReminder(modTranslation& texts, QWidget* parent) : QDialog(parent), m_texts(texts) {
    setObjectName(section);
    setWindowTitle("Remind me");
    setWindowIcon(AppIcon::icon());
    auto* form = new QFormLayout(this);
    m_minutes = new QSpinBox(this);
    m_minutes->setObjectName("pnbMinutes");
    m_minutes->setRange(1, static_cast<int>(QuickReminder::maxSeconds / 60));
    m_minutes->setValue(10);
    auto* minutesLabel = new QLabel("Remind me &in", this);
    minutesLabel->setObjectName("lblMinutes");
    minutesLabel->setBuddy(m_minutes);
    auto* unit = new QLabel("minutes", this);
    unit->setObjectName("lblMinutesUnit");
    auto* minutesRow = new QHBoxLayout;
    minutesRow->addWidget(m_minutes);
    minutesRow->addWidget(unit, 1);
    form->addRow(minutesLabel, minutesRow);

    // The usual waits are one click each: the reminder is made at once.
    auto* quick = new QHBoxLayout;
    for (const int usual : {5, 10, 15, 30, 60}) {
        auto* button = new QPushButton(QString::number(usual), this);
        button->setObjectName(QString("cmdMinutes%1").arg(usual));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, usual] {
            m_minutes->setValue(usual);
            accept();
        });
        quick->addWidget(button);
    }
    form->addRow(QString(), quick);

    m_message = new QLineEdit(this);
    m_message->setObjectName("txtMessage");
    auto* messageLabel = new QLabel("&Message", this);
    messageLabel->setObjectName("lblMessage");
    messageLabel->setBuddy(m_message);
    form->addRow(messageLabel, m_message);

    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    ok->setObjectName("cmdOk");
    ok->setDefault(true);
    buttons->addButton("Cancel", QDialogButtonBox::RejectRole)->setObjectName("cmdCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);

    translate();
    m_message->setText(QString::fromStdString(m_texts.getText(section, 1)));
    m_minutes->selectAll();
    m_minutes->setFocus();
}

void frmQuickReminder::translate() {
    FormTranslator::translateForm(*this, m_texts);
}

int frmQuickReminder::minutes() const {
    return m_minutes->value();
}

std::string frmQuickReminder::message() const {
    const std::string text = m_message->text().trimmed().toStdString();
    return text.empty() ? m_texts.getText(section, 1) : text;
}

} // namespace halvika
