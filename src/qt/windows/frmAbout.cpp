// The About window: name, version and where to get help; Ctrl+Shift+L writes the diagnostic log.
#include "windows/frmAbout.h"

#include "settings/modTranslation.h"

#include "app/HalvikaApp.h"
#include "app/ProgramVersion.h"
#include "windows/AppIcon.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QShortcut>
#include <QVBoxLayout>

namespace halvika {

namespace {
constexpr int textDescription = 1;
constexpr int textDownload = 2;
constexpr int textSupport = 3;
constexpr int textLogNotWritten = 4;
constexpr int textLogWritten = 5;
} // namespace

frmAbout::frmAbout(HalvikaApp& app, QWidget* parent) : QDialog(parent), m_app(app) {
    setObjectName("frmAbout");
    setWindowTitle(QString::fromStdString(app.translation().getCaption("frmAbout", "About Halvika")));
    auto* icon = new QLabel(this);
    icon->setPixmap(AppIcon::icon().pixmap(64, 64));
    auto* text = new QLabel(this);
    text->setObjectName("lblAbout");
    text->setTextFormat(Qt::PlainText);
    modTranslation& t = app.translation();
    text->setText(QString("Halvika %1\n\n%2\n\n%3: %4\n%5: %6")
                      .arg(QString::fromStdString(ProgramVersion::text()),
                           QString::fromStdString(t.getText("frmAbout", textDescription)),
                           QString::fromStdString(t.getText("frmAbout", textDownload)), ProgramVersion::downloadAddress,
                           QString::fromStdString(t.getText("frmAbout", textSupport)), ProgramVersion::supportAddress));
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);

    auto* logKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L), this);
    connect(logKey, &QShortcut::activated, this, &frmAbout::writeDiagnosticLog);
}

void frmAbout::writeDiagnosticLog() {
    const std::string path = m_app.writeDebugLog();
    modTranslation& t = m_app.translation();
    m_app.msgBox(path.empty() ? t.getText("frmAbout", textLogNotWritten)
                              : t.getText("frmAbout", textLogWritten) + " " + path,
                 path.empty() ? Dialogs::styleExclamation : Dialogs::styleInformation);
}

} // namespace halvika
