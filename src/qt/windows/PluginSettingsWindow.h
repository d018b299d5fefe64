// A plug-in's settings window, followed without blocking the dialog that opened it.
#pragma once

#include "plugins/PluginSettingsEdit.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

class QWidget;

namespace halvika {

class PluginHost;

/// Starts the plug-in's window and hands its new settings to `done` when it ends; `trigger` (the Settings
/// button) stays disabled meanwhile. Owned by the dialog: closing the dialog ends the plug-in's window.
class PluginSettingsWindow : public QObject {
public:
    PluginSettingsWindow(QWidget* trigger, std::function<void(XMLNodePtr)> done);

    void open(PluginHost& host, const std::string& identifier, const XMLNode& settings, const std::string& elementName);
    bool isOpen() const { return m_edit != nullptr; }

private:
    void poll();

    QPointer<QWidget> m_trigger;
    std::function<void(XMLNodePtr)> m_done;
    std::unique_ptr<PluginSettingsEdit> m_edit;
    QTimer m_poll;
};

} // namespace halvika
