// quillet [--demo [PROFILE]] [--log FILE] [PORT...]: the transmitter and wireless gateway tool.
// quillet --demo --list | --help | --version
#include <QApplication>
#include <cstdio>
#include <memory>

#include "command_line.h"
#include "dialog_text.h"
#include "message_box.h"
#include "port_discovery.h"
#include "port_selector.h"
#include "profiles.h"
#ifndef _WIN32
#include "simulated_line.h"
#endif
#include "status_line.h"
#include "transmitter_dialog.h"

namespace {

constexpr ui::Program kProgram{"quillet", "2.1.0", "transmitter"};

}  // namespace

int main(int argc, char** argv) {
    // Read before QApplication exists: --help and --version need no display.
    const ui::CommandLine line = ui::ParseCommandLine({argv + 1, argv + argc});
    if (const std::optional<int> status = ui::Answer(line, kProgram)) return *status;

#ifdef _WIN32
    // The simulated devices are served on a pseudo-terminal, which Windows does not have.
    if (line.demo) {
        std::fprintf(stderr, "quillet: 演示模式需要伪终端，Windows 上不可用\n");
        return 2;
    }
#endif

    QApplication app(argc, argv);
    ui::SetDefaultCaption(QStringLiteral("Quillet"));

    std::vector<std::string> extra = line.ports;
    std::string demoPath;
    QString demoNote;
#ifndef _WIN32
    std::unique_ptr<sim::SimulatedLine> demo;
    if (line.demo) {
        const sim::Profile* profile = sim::FindProfile(ui::DemoProfile(line, kProgram));
        demo = std::make_unique<sim::SimulatedLine>(profile->make({}));
        if (!demo->Ok()) {
            std::fprintf(stderr, "quillet: cannot open a pseudo-terminal for the demo\n");
            return 1;
        }
        demoPath = demo->Path();
        extra.push_back(demoPath);
        demoNote = quillet::Tr("演示：模拟设备 %1（%2），串口 %3")
                       .arg(QString::fromStdString(profile->name),
                            QString::fromStdString(profile->description),
                            QString::fromStdString(demoPath));
    }
#endif
    std::vector<transport::PortEntry> denied;
    const std::vector<transport::PortEntry> ports = transport::SelectablePorts(extra, &denied);

    {
        // The dialog (and its reader thread) ends before the simulated line closes. It opens
        // the selected port at start: the demo's, or the first one named.
        quillet::TransmitterDialog dialog(ports, ui::PortToSelect(line, demoPath));
        dialog.Ports().KeepPaths(extra);
        QStringList notes;
        if (!demoNote.isEmpty()) notes << demoNote;
        if (!denied.empty()) notes << QString::fromStdString(transport::PermissionHint(denied));
        dialog.SetNote(notes.join('\n'));
        if (line.demo)
            dialog.Status().SetDemo(QString::fromStdString(ui::DemoProfile(line, kProgram)));
        QString logError;
        if (!line.log.empty() && !dialog.StartLog(QString::fromStdString(line.log), &logError)) {
            std::fprintf(stderr, "quillet: cannot write %s: %s\n", line.log.c_str(),
                         qPrintable(logError));
            return 1;
        }
        dialog.exec();
    }
    return 0;
}
