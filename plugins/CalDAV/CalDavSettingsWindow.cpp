// The plug-in's settings window: server, user, password, a test of the connection and the calendar to use.
#include "CalDavSettingsWindow.h"

#include "CalDavDiscovery.h"
#include "CredentialStore.h"
#include "DavClient.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <iostream>

namespace halvika {

int CalDavSettingsWindow::edit(const XMLNode& params) {
    const XMLNodePtr settings = params.getNode("syst", 0, "<syst></syst>");
    CredentialStore credentials(CredentialStore::defaultFolder());
    QDialog dialog;
    dialog.setWindowTitle("CalDAV calendar");
    auto* form = new QFormLayout(&dialog);
    auto* server = new QLineEdit(QString::fromStdString(settings->getString("url")), &dialog);
    server->setPlaceholderText("https://cloud.example.org/remote.php/dav/");
    auto* user = new QLineEdit(QString::fromStdString(settings->getString("user")), &dialog);
    auto* password = new QLineEdit(&dialog);
    password->setEchoMode(QLineEdit::Password);
    password->setText(QString::fromStdString(
        credentials.password(settings->getString("url"), settings->getString("user"), true).password.value_or("")));
    form->addRow("&Server or calendar address", server);
    form->addRow("&User name", user);
    form->addRow("&Password", password);
    auto* kept = new QLabel(QString::fromStdString("The password is kept " + credentials.describe() + "."), &dialog);
    kept->setWordWrap(true);
    form->addRow(QString(), kept);
    auto* test = new QPushButton("&Test the connection and list the calendars", &dialog);
    form->addRow(QString(), test);
    auto* calendars = new QComboBox(&dialog);
    form->addRow("&Calendar", calendars);
    auto* create = new QPushButton("&New calendar...", &dialog);
    form->addRow(QString(), create);
    auto* status = new QLabel(&dialog);
    status->setWordWrap(true);
    form->addRow(QString(), status);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (!settings->getString("url").empty()) {
        calendars->addItem(QString::fromStdString(settings->getString("url")),
                           QString::fromStdString(settings->getString("url")));
    }
    std::string home;
    const auto look = [&] {
        DavClient client(user->text(), password->text(), 8000);
        CalDavDiscovery discovery(client);
        const CalDavDiscovery::Result found = discovery.find(server->text().trimmed().toStdString());
        if (!found.problem.empty()) {
            status->setText(QString::fromStdString(found.problem));
            return;
        }
        home = found.home;
        calendars->clear();
        for (const auto& c : found.calendars) {
            calendars->addItem(QString::fromStdString(c.name), QString::fromStdString(c.url));
        }
        status->setText(found.calendars.empty() ? "Connected; there is no calendar yet: make a new one."
                                                : "Connected. Choose the calendar to keep this group in.");
    };
    QObject::connect(test, &QPushButton::clicked, &dialog, look);
    QObject::connect(create, &QPushButton::clicked, &dialog, [&] {
        if (home.empty()) {
            look();
        }
        const QString name = QInputDialog::getText(&dialog, "New calendar", "&Name of the new calendar");
        if (name.isEmpty() || home.empty()) {
            return;
        }
        DavClient client(user->text(), password->text(), 8000);
        CalDavDiscovery discovery(client);
        std::string problem;
        const std::string url = discovery.create(home, name.toStdString(), problem);
        if (url.empty()) {
            status->setText(QString::fromStdString(problem));
            return;
        }
        calendars->addItem(name, QString::fromStdString(url));
        calendars->setCurrentIndex(calendars->count() - 1);
        status->setText("The calendar was made.");
    });
    dialog.setMinimumWidth(600);
    dialog.adjustSize();
    if (dialog.exec() != QDialog::Accepted) {
        return 0;
    }
    const std::string url = calendars->currentData().toString().toStdString();
    const std::string chosen = url.empty() ? server->text().trimmed().toStdString() : url;
    if (!credentials.store(chosen, user->text().toStdString(), password->text().toStdString())) {
        // The settings are still taken: the password can be given again, the calendar's address would be lost.
        QMessageBox::warning(nullptr, "CalDAV calendar",
                             QString::fromStdString("The password could not be kept " + credentials.describe() +
                                                    ". Open these settings again and give it once more."));
    }
    // A new calendar starts afresh: what was known about the old one does not hold there.
    auto next = XMLNode::Create("syst");
    next->addString("url", chosen);
    next->addString("user", user->text().toStdString());
    if (chosen == settings->getString("url")) {
        for (int i = 0; i < settings->getNumberOfNodes(); ++i) {
            const XMLNodePtr child = settings->getNodeAt(i);
            if (child->name != "url" && child->name != "user") {
                next->addNode(child->getCopy());
            }
        }
    }
    std::cout << "<reply>" << next->toString() << "</reply>" << std::flush;
    return 0;
}

} // namespace halvika
