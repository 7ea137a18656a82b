#pragma once
// Quillet's command line: quillet [--demo [PROFILE]] [--log FILE] [PORT...]
#include <QString>
#include <QStringList>

namespace quillet {

struct CommandLine {
    bool ok = true;     // false: print the usage and exit with status 2
    bool help = false;  // --help: print the usage and exit with status 0
    QString error;
    bool demo = false;
    QString profile = QStringLiteral("transmitter");
    QStringList ports;  // extra paths for the port list
    QString log;        // --log FILE: the CSV file the live values read are appended to
};

// `arguments` without the program name and without Qt's own options.
CommandLine ParseCommandLine(const QStringList& arguments);
QString Usage();

}  // namespace quillet
