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
#include "simulated_line.h"
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
    std::unique_ptr<sim::SimulatedLine> demo;
    const sim::Profile* profile = nullptr;
    if (line.demo) {
        profile = sim::FindProfile(line.profile.toStdString());
        demo = std::make_unique<sim::SimulatedLine>(profile->make({}));
        if (!demo->Ok()) {
            std::fprintf(stderr, "quillet: cannot open a pseudo-terminal for the demo\n");
            return 1;
        }
        extra.push_back(demo->Path());
    }
    std::vector<transport::PortEntry> denied;
    std::vector<transport::PortEntry> ports = transport::SelectablePorts(extra, &denied);
    if (demo) {
        // The demo's port goes first: that is the one opened at start.
        std::stable_partition(ports.begin(), ports.end(), [&](const transport::PortEntry& p) {
            return p.path == demo->Path();
        });
    }

    {
        // The dialog (and its reader thread) ends before the simulated line closes.
        quillet::TransmitterDialog dialog(ports);
        dialog.Ports().KeepPaths(extra);
        QStringList notes;
        if (demo) {
            notes << quillet::Tr("演示：模拟设备 %1（%2），串口 %3")
                         .arg(QString::fromStdString(profile->name),
                              QString::fromStdString(profile->description),
                              QString::fromStdString(demo->Path()));
        }
        if (!denied.empty()) notes << QString::fromStdString(transport::PermissionHint(denied));
        dialog.SetNote(notes.join('\n'));
        dialog.exec();
    }
    return 0;
}
