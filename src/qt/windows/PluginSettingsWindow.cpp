// A plug-in's settings window, followed without blocking the dialog that opened it.
#include "windows/PluginSettingsWindow.h"

#include "plugins/PluginHost.h"

#include <QWidget>

namespace halvika {

PluginSettingsWindow::PluginSettingsWindow(QWidget* trigger, std::function<void(XMLNodePtr)> done)
    : QObject(trigger), m_trigger(trigger), m_done(std::move(done)) {
    m_poll.setInterval(100);
    connect(&m_poll, &QTimer::timeout, this, &PluginSettingsWindow::poll);
}

void PluginSettingsWindow::open(PluginHost& host, const std::string& identifier, const XMLNode& settings,
                                const std::string& elementName) {
    if (m_edit) {
        return;
    }
    m_edit = host.startEditSettings(identifier, settings, elementName);
    if (m_trigger) {
        m_trigger->setEnabled(false);
    }
    m_poll.start();
    poll();
}

void PluginSettingsWindow::poll() {
    if (!m_edit || !m_edit->poll()) {
        return;
    }
    m_poll.stop();
    const XMLNodePtr result = m_edit->result();
    m_edit.reset();
    if (m_trigger) {
        m_trigger->setEnabled(true);
    }
    if (result && m_done) {
        m_done(result);
    }
}

} // namespace halvika
