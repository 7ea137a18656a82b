// pelmarq [PORT...]              the serial ports to offer besides the system's own
// pelmarq --demo [PROFILE]       a simulated device on a pseudo-terminal, selected
// pelmarq --demo --list          the simulated devices
// pelmarq --log FILE ...         append the values of the real-time refresh to a CSV file
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "main_dialog.h"
#include "message_box.h"
#include "port_discovery.h"
#include "port_selector.h"
#include "profiles.h"
#ifndef _WIN32
#include "simulated_line.h"
#endif
#include "status_line.h"

namespace {

constexpr const char* kDefaultDemo = "th";

int Usage(const char* problem) {
    if (problem) std::fprintf(stderr, "pelmarq: %s\n", problem);
    std::fprintf(stderr,
                 "usage: pelmarq [PORT...]\n"
                 "       pelmarq --demo [PROFILE]   simulate a device (default: %s)\n"
                 "       pelmarq --demo --list      list the simulated devices\n"
                 "       --log FILE                 append every value the real-time refresh\n"
                 "                                  reads to FILE (CSV)\n",
                 kDefaultDemo);
    return 2;
}

void ListProfiles() {
    for (const sim::Profile* p : sim::ProfilesFor("pelmarq"))
        std::printf("%-16s %s\n", p->name.c_str(), p->description.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> paths;
    bool demo = false;
    bool list = false;
    std::string profile = kDefaultDemo;
    std::string logPath;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--demo") {
            demo = true;
            if (i + 1 < argc && argv[i + 1][0] != '-') profile = argv[++i];
        } else if (arg == "--log") {
            if (i + 1 >= argc) return Usage("--log needs a file name");
            logPath = argv[++i];
        } else if (arg == "--list") {
            list = true;
        } else if (arg == "--help" || arg == "-h") {
            Usage(nullptr);
            return 0;
        } else if (arg.starts_with("--")) {
            return Usage(("unknown option " + arg).c_str());
        } else if (arg.starts_with("-")) {
            // Qt's own options (-platform, -style ...) and their values pass through.
            if (i + 1 < argc && argv[i + 1][0] != '-' && arg != "-reverse") ++i;
        } else {
            paths.push_back(arg);
        }
    }
    if (list) {
        ListProfiles();
        return 0;
    }
    const sim::Profile* demoProfile = nullptr;
    if (demo) {
        demoProfile = sim::FindProfile(profile);
        if (!demoProfile || demoProfile->program != "pelmarq") {
            std::fprintf(stderr, "pelmarq: no simulated device '%s'; these are:\n",
                         profile.c_str());
            ListProfiles();
            return 2;
        }
    }

#ifdef _WIN32
    // The simulated devices are served on a pseudo-terminal, which Windows does not have.
    if (demoProfile) {
        std::fprintf(stderr, "pelmarq: 演示模式需要伪终端，Windows 上不可用\n");
        return 2;
    }
#endif

    QApplication app(argc, argv);
    ui::SetDefaultCaption(QStringLiteral("Pelmarq"));

    QString status;
    std::string demoPath;
#ifndef _WIN32
    std::unique_ptr<sim::SimulatedLine> line;
    if (demoProfile) {
        line = std::make_unique<sim::SimulatedLine>(demoProfile->make({}));
        if (!line->Ok()) {
            std::fprintf(stderr, "pelmarq: cannot open a pseudo-terminal for the demo\n");
            return 1;
        }
        demoPath = line->Path();
        paths.push_back(demoPath);
        status = QObject::tr("演示模式：模拟设备 %1（%2），端口 %3")
                     .arg(QString::fromStdString(demoProfile->name),
                          QString::fromStdString(demoProfile->description),
                          QString::fromStdString(demoPath));
    }
#endif

    std::vector<transport::PortEntry> denied;
    std::vector<app::PortChoice> ports;
    int selected = 0;
    for (const transport::PortEntry& e : transport::SelectablePorts(paths, &denied)) {
        if (!demoPath.empty() && e.path == demoPath) selected = static_cast<int>(ports.size());
        ports.push_back({e.path, e.Label()});
    }
    const QString hint = QString::fromStdString(transport::PermissionHint(denied));
    if (!hint.isEmpty()) status = status.isEmpty() ? hint : status + "\n" + hint;
    if (ports.empty() && status.isEmpty())
        status = QObject::tr(
            "未找到可用的串口。请连接 USB-RS485 转换器，或在串口号中输入串口路径后按回车。");

    app::MainDialog dialog(ports, selected, status);
    if (demoProfile) dialog.Status().SetDemo(QString::fromStdString(demoProfile->name));
    QString logError;
    if (!logPath.empty() && !dialog.StartLog(QString::fromStdString(logPath), &logError)) {
        std::fprintf(stderr, "pelmarq: cannot write %s: %s\n", logPath.c_str(),
                     qPrintable(logError));
        return 1;
    }
    // The paths named here stay in the list whenever it is read again.
    dialog.Ports().KeepPaths(paths);
    dialog.show();
    return app.exec();
}
