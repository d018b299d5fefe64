// The About window: name, version and where to get help; Ctrl+Shift+L writes the diagnostic log.
#pragma once

#include <QDialog>

namespace halvika {

class HalvikaApp;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(HalvikaApp& app, QWidget* parent = nullptr);

    /// Writes the diagnostic log and tells where it went.
    void writeDiagnosticLog();

private:
    HalvikaApp& m_app;
};

} // namespace halvika
