#include "command_line.h"

#include "profiles.h"

namespace quillet {

QString Usage() {
    QString text = QStringLiteral(
        "usage: quillet [--demo [PROFILE]] [--log FILE] [PORT...]\n"
        "  --demo [PROFILE]  serve a simulated device on a "
        "pseudo-terminal and select its port\n"
        "  --log FILE        append every live value read to FILE (CSV)\n"
        "  PORT              add a serial port path to the list\n"
        "profiles:\n");
    for (const sim::Profile* p : sim::ProfilesFor("quillet"))
        text += QStringLiteral("  %1  %2\n")
                    .arg(QString::fromStdString(p->name), -12)
                    .arg(QString::fromStdString(p->description));
    return text;
}

CommandLine ParseCommandLine(const QStringList& arguments) {
    CommandLine line;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--demo") {
            line.demo = true;
            // The profile is optional: a following word that is not an option names it.
            if (i + 1 < arguments.size() && !arguments[i + 1].startsWith('-') &&
                !arguments[i + 1].startsWith('/')) {
                line.profile = arguments[++i];
            }
        } else if (arg == "--log") {
            if (i + 1 >= arguments.size()) {
                line.ok = false;
                line.error = QStringLiteral("--log needs a file name");
                return line;
            }
            line.log = arguments[++i];
        } else if (arg.startsWith('-')) {
            line.ok = false;
            line.error = QStringLiteral("unknown option %1").arg(arg);
            return line;
        } else {
            line.ports << arg;
        }
    }
    if (line.demo) {
        const sim::Profile* profile = sim::FindProfile(line.profile.toStdString());
        if (!profile || profile->program != "quillet") {
            line.ok = false;
            line.error = QStringLiteral("unknown profile %1").arg(line.profile);
        }
    }
    return line;
}

}  // namespace quillet
