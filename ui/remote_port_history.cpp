#include "remote_port_history.h"

#include <QSettings>
#include <QStringList>
#include <algorithm>

#include "network_line.h"

namespace ui {
namespace {

constexpr char kKey[] = "ports/remote";

}  // namespace

std::vector<std::string> RemotePortHistory::Ports() const {
    const QSettings settings(kSettingsOrganisation, program_);
    std::vector<std::string> ports;
    for (const QString& name : settings.value(kKey).toStringList()) {
        // A name edited by hand into something no backend takes is not offered.
        if (transport::MakeNetworkBackend(name.toStdString()) && ports.size() < kMaximum)
            ports.push_back(name.toStdString());
    }
    return ports;
}

void RemotePortHistory::Remember(const std::string& name) {
    if (!transport::MakeNetworkBackend(name)) return;
    QSettings settings(kSettingsOrganisation, program_);
    QStringList ports = settings.value(kKey).toStringList();
    ports.removeAll(QString::fromStdString(name));
    ports.prepend(QString::fromStdString(name));
    while (ports.size() > static_cast<qsizetype>(kMaximum)) ports.removeLast();
    settings.setValue(kKey, ports);
}

}  // namespace ui
