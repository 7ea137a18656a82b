#include "port_discovery.h"

#include <QSerialPortInfo>
#include <algorithm>

namespace transport {

std::string PortEntry::Label() const {
    return description.empty() ? path : path + "  (" + description + ")";
}

std::vector<PortEntry> ListSerialPorts() {
    std::vector<PortEntry> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        PortEntry e;
        e.path = info.systemLocation().toStdString();
        QString desc = info.description();
        if (!info.manufacturer().isEmpty() && !desc.contains(info.manufacturer()))
            desc = desc.isEmpty() ? info.manufacturer() : desc + ", " + info.manufacturer();
        e.description = desc.toStdString();
        e.access = ProbePortAccess(e.path);
        ports.push_back(std::move(e));
    }
    std::sort(ports.begin(), ports.end(),
              [](const PortEntry& a, const PortEntry& b) { return a.path < b.path; });
    return ports;
}

std::vector<PortEntry> SelectablePorts(const std::vector<std::string>& extraPaths,
                                       std::vector<PortEntry>* deniedOut) {
    std::vector<PortEntry> result;
    auto known = [&result](const std::string& path) {
        return std::any_of(result.begin(), result.end(),
                           [&](const PortEntry& e) { return e.path == path; });
    };
    for (PortEntry& e : ListSerialPorts()) {
        if (e.access == PortAccess::Openable)
            result.push_back(e);
        else if (e.access == PortAccess::PermissionDenied && deniedOut)
            deniedOut->push_back(e);
    }
    for (const std::string& path : extraPaths) {
        if (known(path)) continue;
        PortEntry e{path, "", ProbePortAccess(path)};
        if (e.access == PortAccess::PermissionDenied && deniedOut) deniedOut->push_back(e);
        // A path the user names is listed even when it cannot be opened now: the scan then
        // reports the failed open, which says more than a silently missing entry.
        result.push_back(e);
    }
    return result;
}

std::string PermissionHint(const std::vector<PortEntry>& denied) {
    if (denied.empty()) return {};
    std::string names;
    for (const PortEntry& e : denied) names += (names.empty() ? "" : ", ") + e.path;
    return "没有权限打开串口 " + names +
           "。请把当前用户加入 dialout 组（sudo usermod -aG dialout $USER），重新登录后再试。";
}

}  // namespace transport
