#include "port_discovery.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "pty_line.h"

using namespace transport;

TEST(PortDiscovery, ExtraPathsJoinTheListOnceWithTheirAccess) {
    sim::PtyLine line;
    ASSERT_TRUE(line.Ok());
    std::vector<PortEntry> denied;
    const auto ports =
        SelectablePorts({line.SlavePath(), line.SlavePath(), "/dev/no-such-port"}, &denied);
    int seen = 0;
    for (const PortEntry& e : ports) {
        if (e.path == line.SlavePath()) {
            ++seen;
            EXPECT_EQ(e.access, PortAccess::Openable);
            EXPECT_EQ(e.Label(), line.SlavePath());
        }
        if (e.path == "/dev/no-such-port") {
            EXPECT_EQ(e.access, PortAccess::Unavailable);
        }
    }
    EXPECT_EQ(seen, 1);
    EXPECT_TRUE(denied.empty());
}

// Root may open every port, so the check runs as an ordinary user in a child process.
TEST(PortDiscovery, APortTheUserMayNotOpenIsReportedWithTheDialoutHint) {
    sim::PtyLine line;
    ASSERT_EQ(::chmod(line.SlavePath().c_str(), 0600), 0);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
        std::vector<PortEntry> denied;
        SelectablePorts({line.SlavePath()}, &denied);
        // The machine's own serial ports may be refused too; ours must be among them.
        bool listed = false;
        for (const PortEntry& e : denied)
            listed |= e.path == line.SlavePath() && e.access == PortAccess::PermissionDenied;
        const bool ok = listed && PermissionHint(denied).find("dialout") != std::string::npos;
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(PortDiscovery, HintNamesTheDeniedPorts) {
    EXPECT_EQ(PermissionHint({}), "");
    const std::string hint = PermissionHint({{"/dev/ttyUSB0", "", PortAccess::PermissionDenied}});
    EXPECT_NE(hint.find("/dev/ttyUSB0"), std::string::npos);
    EXPECT_NE(hint.find("dialout"), std::string::npos);
    EXPECT_EQ(PortEntry({"/dev/ttyUSB0", "USB-Serial CH340", PortAccess::Openable}).Label(),
              "/dev/ttyUSB0  (USB-Serial CH340)");
}
