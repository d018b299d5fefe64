// Runs alarm actions until the full alarm and sound windows arrive: messages in a simple window, programs
// through the shell, everything else as a beep.
#include "windows/BasicActionRunner.h"

#include "alarms/Alarm.h"
#include "alarms/clsAction.h"
#include "dates/DateFormat.h"
#include "platform/Shell.h"
#include "sounding/SpecialCommand.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>

namespace halvika {

void BasicActionRunner::doAction(clsAction& action, const Date& soundingDate, bool real) {
    const std::string text = action.settings->getString("s");
    switch (action.action) {
    case 1:
    case 3: {
        auto* box = new QMessageBox(QMessageBox::Information,
                                    QString::fromStdString(action.al ? action.al->name : std::string("Halvika")),
                                    QString::fromStdString(text), QMessageBox::Ok);
        box->setObjectName("frmAlarm");
        box->setInformativeText(real ? QString::fromStdString(formatDate("dddd d mmmm yyyy hh:nn:ss", soundingDate))
                                     : QStringLiteral("(test)"));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowFlag(Qt::WindowStaysOnTopHint);
        box->setModal(false);
        box->show();
        break;
    }
    case 4:
    case 5:
    case 6: {
        const SpecialCommand command = SpecialCommand::parse(text);
        static const std::string spoken[] = {"screensaver", "shutdown", "reboot", "logoff", "speak", "tt"};
        for (const auto& word : spoken) {
            if (command.lowerWord() == word) {
                QApplication::beep(); // these come with the sounding windows
                return;
            }
        }
        std::vector<std::string> arguments;
        for (const QString& a : QProcess::splitCommand(QString::fromStdString(command.first))) {
            arguments.push_back(a.toStdString());
        }
        m_shell.startDetached(command.word, arguments, command.second);
        break;
    }
    default:
        QApplication::beep();
    }
}

} // namespace halvika
