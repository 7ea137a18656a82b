// pelmarq [PORT...]                  the serial ports to offer besides the system's own
// pelmarq --demo [PROFILE] [PORT...] a simulated device on a pseudo-terminal, its port
//                                    selected and its page shown
// pelmarq --demo --list              the simulated devices
// pelmarq --log FILE ...             append the values of the real-time refresh to a CSV file
// pelmarq --help | --version
#include <QApplication>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "command_line.h"
#include "main_dialog.h"
#include "message_box.h"
#include "port_discovery.h"
#include "port_selector.h"
#include "profiles.h"
#include "status_line.h"
#ifndef _WIN32
#include "simulated_line.h"
#endif

namespace {

constexpr ui::Program kProgram{"pelmarq", "3.6.0", "th"};

}  // namespace

int main(int argc, char** argv) {
    // Read before QApplication exists: --help and --version need no display.
    const ui::CommandLine line = ui::ParseCommandLine({argv + 1, argv + argc});
    if (const std::optional<int> status = ui::Answer(line, kProgram)) return *status;

#ifdef _WIN32
    // The simulated devices are served on a pseudo-terminal, which Windows does not have.
    if (line.demo) {
        std::fprintf(stderr, "pelmarq: 演示模式需要伪终端，Windows 上不可用\n");
        return 2;
    }
#endif

    QApplication app(argc, argv);
    ui::SetDefaultCaption(QStringLiteral("Pelmarq"));

    std::vector<std::string> paths = line.ports;
    std::string demoPath;
    QString status;
#ifndef _WIN32
    std::unique_ptr<sim::SimulatedLine> demo;
    if (line.demo) {
        const sim::Profile* profile = sim::FindProfile(ui::DemoProfile(line, kProgram));
        demo = std::make_unique<sim::SimulatedLine>(profile->make({}));
        if (!demo->Ok()) {
            std::fprintf(stderr, "pelmarq: cannot open a pseudo-terminal for the demo\n");
            return 1;
        }
        demoPath = demo->Path();
        paths.push_back(demoPath);
        status = QObject::tr("演示模式：模拟设备 %1（%2），端口 %3")
                     .arg(QString::fromStdString(profile->name),
                          QString::fromStdString(profile->description),
                          QString::fromStdString(demoPath));
    }
#endif

    std::vector<transport::PortEntry> denied;
    std::vector<app::PortChoice> ports;
    for (const transport::PortEntry& e : transport::SelectablePorts(paths, &denied))
        ports.push_back({e.path, e.Label()});
    const QString hint = QString::fromStdString(transport::PermissionHint(denied));
    if (!hint.isEmpty()) status = status.isEmpty() ? hint : status + "\n" + hint;
    if (ports.empty() && status.isEmpty())
        status = QObject::tr(
            "未找到可用的串口。请连接 USB-RS485 转换器，或在串口号中输入串口路径后按回车。");

    app::MainDialog dialog(ports, ui::PortToSelect(line, demoPath), status);
    if (line.demo) dialog.Status().SetDemo(QString::fromStdString(ui::DemoProfile(line, kProgram)));
    QString logError;
    if (!line.log.empty() && !dialog.StartLog(QString::fromStdString(line.log), &logError)) {
        std::fprintf(stderr, "pelmarq: cannot write %s: %s\n", line.log.c_str(),
                     qPrintable(logError));
        return 1;
    }
    // The paths named here stay in the list whenever it is read again.
    dialog.Ports().KeepPaths(paths);
    if (line.demo) dialog.ShowPageOf(ui::DemoProfile(line, kProgram));
    dialog.show();
    return app.exec();
}
