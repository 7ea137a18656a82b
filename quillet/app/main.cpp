// quillet [--demo [PROFILE]] [PORT...]: the transmitter and wireless gateway tool.
#include <QApplication>
#include <algorithm>
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

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    const quillet::CommandLine line = quillet::ParseCommandLine(arguments);
    if (!line.ok || line.help) {
        if (!line.ok) std::fprintf(stderr, "quillet: %s\n", qPrintable(line.error));
        std::fputs(qPrintable(quillet::Usage()), line.ok ? stdout : stderr);
        return line.ok ? 0 : 2;
    }
    ui::SetDefaultCaption(QStringLiteral("Quillet"));

    std::vector<std::string> extra;
    for (const QString& port : line.ports) extra.push_back(port.toStdString());
    std::string demoPath;
    QString demoNote;
#ifdef _WIN32
    // The simulated devices are served on a pseudo-terminal, which Windows does not have.
    if (line.demo) {
        std::fprintf(stderr, "quillet: 演示模式需要伪终端，Windows 上不可用\n");
        return 2;
    }
#else
    std::unique_ptr<sim::SimulatedLine> demo;
    if (line.demo) {
        const sim::Profile* profile = sim::FindProfile(line.profile.toStdString());
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
    std::vector<transport::PortEntry> ports = transport::SelectablePorts(extra, &denied);
    if (!demoPath.empty()) {
        // The demo's port goes first: that is the one opened at start.
        std::stable_partition(ports.begin(), ports.end(),
                              [&](const transport::PortEntry& p) { return p.path == demoPath; });
    }

    {
        // The dialog (and its reader thread) ends before the simulated line closes.
        quillet::TransmitterDialog dialog(ports);
        dialog.Ports().KeepPaths(extra);
        QStringList notes;
        if (!demoNote.isEmpty()) notes << demoNote;
        if (!denied.empty()) notes << QString::fromStdString(transport::PermissionHint(denied));
        dialog.SetNote(notes.join('\n'));
        if (line.demo) dialog.Status().SetDemo(line.profile);
        QString logError;
        if (!line.log.isEmpty() && !dialog.StartLog(line.log, &logError)) {
            std::fprintf(stderr, "quillet: cannot write %s: %s\n", qPrintable(line.log),
                         qPrintable(logError));
            return 1;
        }
        dialog.exec();
    }
    return 0;
}
