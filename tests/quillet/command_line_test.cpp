// Quillet's command line, parsed and as the program answers it.
#include "command_line.h"

#include <gtest/gtest.h>

#include <QProcess>

TEST(QuilletCommandLine, ParsesDemoProfilesAndPorts) {
    const struct {
        QStringList args;
        bool ok, demo;
        QString profile;
        QStringList ports;
    } cases[] = {
        {{}, true, false, "transmitter", {}},
        {{"--demo"}, true, true, "transmitter", {}},
        {{"--demo", "gateway"}, true, true, "gateway", {}},
        {{"--demo", "/dev/ttyUSB0"}, true, true, "transmitter", {"/dev/ttyUSB0"}},
        {{"/dev/pts/3", "--demo", "--help"}, true, true, "transmitter", {"/dev/pts/3"}},
        {{"--demo", "th"}, false, true, "th", {}},  // a Pelmarq device
        {{"--demo", "nosuch"}, false, true, "nosuch", {}},
        {{"--bogus"}, false, false, "transmitter", {}},
        {{"-x", "/dev/ttyS0"}, false, false, "transmitter", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const quillet::CommandLine line = quillet::ParseCommandLine(c.args);
        EXPECT_EQ(line.ok, c.ok);
        EXPECT_EQ(line.demo, c.demo);
        EXPECT_EQ(line.profile, c.profile);
        if (c.ok) {
            EXPECT_EQ(line.ports, c.ports);
        }
    }
}

TEST(QuilletCommandLine, LogTakesAFileName) {
    const quillet::CommandLine line =
        quillet::ParseCommandLine({"--log", "values.csv", "/dev/pts/3"});
    EXPECT_TRUE(line.ok);
    EXPECT_EQ(line.log, "values.csv");
    EXPECT_EQ(line.ports, QStringList{"/dev/pts/3"});
    EXPECT_FALSE(quillet::ParseCommandLine({"--log"}).ok);
}

TEST(QuilletCommandLine, UnknownOptionsPrintTheUsageAndExitWith2) {
    const struct {
        QStringList args;
        int status;
    } cases[] = {{{"--bogus"}, 2}, {{"--demo", "nosuch"}, 2}, {{"--help"}, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        program.setProcessEnvironment(env);
        program.start(QUILLET_PATH, c.args);
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitCode(), c.status);
        const QString output = program.readAllStandardError() + program.readAllStandardOutput();
        EXPECT_TRUE(output.contains("usage: quillet")) << output.toStdString();
        EXPECT_TRUE(output.contains("gateway")) << output.toStdString();
    }
}
