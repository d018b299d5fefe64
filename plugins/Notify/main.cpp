// HalvikaNotify.plugin: an alarm action that shows a desktop notification (org.freedesktop.Notifications).
// With --settings it lets the user write the notification's text in a small window of its own.
#include "NotificationRequest.h"
#include "xml/XMLNode.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <iostream>
#include <iterator>
#include <string>

namespace {

using halvika::NotificationRequest;
using halvika::XMLNode;
using halvika::XMLNodePtr;

std::string escaped(const std::string& text) {
    return XMLNode::stringToXMLString(text);
}

bool takesMarkup(QDBusInterface& notifications) {
    const QDBusReply<QStringList> capabilities = notifications.call("GetCapabilities");
    return capabilities.isValid() && capabilities.value().contains("body-markup");
}

std::string execute(const XMLNode& params) {
    const NotificationRequest n = NotificationRequest::fromParams(params);
    QDBusInterface notifications("org.freedesktop.Notifications", "/org/freedesktop/Notifications",
                                 "org.freedesktop.Notifications", QDBusConnection::sessionBus());
    QVariantMap hints;
    hints.insert("urgency", QVariant::fromValue(static_cast<uchar>(n.urgency)));
    hints.insert("desktop-entry", QString("halvika"));
    // A critical notification stays until it is closed; the others go as the desktop decides.
    const int timeout = n.urgency == 2 ? 0 : -1;
    const QDBusReply<uint> reply = notifications.call(
        "Notify", QString("Halvika"), 0U, QString("halvika"), QString::fromStdString(n.summary),
        QString::fromStdString(n.bodyFor(takesMarkup(notifications))), QStringList(), hints, timeout);
    if (!reply.isValid()) {
        return "<reply><error>" +
               escaped("The notification could not be shown: " + reply.error().message().toStdString()) +
               "</error></reply>";
    }
    return "<reply><success></success></reply>";
}

std::string answer(const std::string& method, const XMLNode& params) {
    if (method == "GetPlugIns") {
        return "<reply><plugins><plugin><type>ActionPlugIn</type><name>Notify</name></plugin></plugins></reply>";
    }
    // The names in Halvika's language: German for "de", English for everything else.
    const bool german = params.getString("language").rfind("de", 0) == 0;
    const std::string name = german ? "Desktop-Benachrichtigung" : "Desktop notification";
    if (method == "GetName") {
        return "<reply><name>" + name + "</name><shows></shows></reply>"; // no windows of its own
    }
    if (method == "GetActionInfo") {
        return "<reply><shortdescription>" + name + "</shortdescription><category>" + (german ? "Anzeigen" : "Show") +
               "</category><description>" +
               escaped(german ? "Zeigt eine Benachrichtigung des Desktops mit dem Namen des Alarms und einem Text "
                                "Ihrer Wahl (der Nachricht des Alarms, wenn Sie ihn leer lassen)."
                              : "Shows a notification of the desktop with the alarm's name and a text of your "
                                "choice (the alarm's message when you leave it empty).") +
               "</description></reply>";
    }
    if (method == "GetSettingsControlName") {
        return "<reply><name>settings</name></reply>";
    }
    if (method == "Execute") {
        return execute(params);
    }
    return "<reply></reply>";
}

/// The settings window: the notification's text. Prints the new settings, or nothing when cancelled.
int editSettings(const XMLNode& params) {
    XMLNodePtr settings = params.getNode("sett", 0, "<sett></sett>");
    QDialog dialog;
    dialog.setWindowTitle("Desktop notification");
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel("&Text of the notification (empty: the alarm's message)", &dialog);
    auto* text = new QPlainTextEdit(QString::fromStdString(settings->getString("body")), &dialog);
    label->setBuddy(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(label);
    layout->addWidget(text);
    layout->addWidget(buttons);
    dialog.resize(420, 220);
    if (dialog.exec() != QDialog::Accepted) {
        return 0;
    }
    settings->setString("body", text->toPlainText().toStdString());
    std::cout << "<reply>" << settings->toString() << "</reply>" << std::flush;
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string request((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    const auto envelope = XMLNode::createFromXML(request);
    const XMLNodePtr params = envelope->getNode("params");
    if (argc > 1 && std::string(argv[1]) == "--settings") {
        QApplication application(argc, argv);
        return editSettings(*params);
    }
    // The bus connection is Qt's to open and to close again with the application.
    QCoreApplication application(argc, argv);
    std::cout << answer(envelope->getString("method"), *params) << std::flush;
    return 0;
}
