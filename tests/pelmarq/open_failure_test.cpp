// A port that will not open says why, as an ordinary user meets it. Root ignores both the
// exclusive claim and the device's permissions, so the scans run again in this test program
// as nobody, with no groups, on lines prepared here as root.
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "pelmarq_fixture.h"
#include "pty_line.h"
#include "serial_port.h"

namespace {

constexpr char kPortsVariable[] = "PELMARQ_TEST_REFUSED_PORTS";

struct Refusal {
    const char* what;
    const char* text;
};
const Refusal kRefusals[] = {
    {"held by another program", "串口打开失败\n串口被占用"},
    {"group dialout, which we are not in",
     "串口打开失败\n没有权限：请将用户加入 dialout 组后重新登录"},
    {"its owner's alone (group tty)", "串口打开失败\n没有权限"},
    {"no such device", "串口打开失败\n串口不存在"},
};

// The ports come in the order of kRefusals, separated by ':'.
void ScanEach(const std::string& ports) {
    std::istringstream in(ports);
    for (const Refusal& refusal : kRefusals) {
        SCOPED_TRACE(refusal.what);
        std::string path;
        ASSERT_TRUE(std::getline(in, path, ':'));
        testsupport::BoxRecorder boxes;
        app::MainDialog dialog(std::vector<app::PortChoice>{{path, path}}, path, QString());
        testsupport::Find<QPushButton>(&dialog, "1001")->click();
        const ui::BoxRequest box = boxes.Only();
        EXPECT_EQ(box.text, refusal.text);
        EXPECT_EQ(box.caption, "警告");
        EXPECT_EQ(box.icon, ui::BoxIcon::Question);
        EXPECT_FALSE(dialog.Link().IsOpen());
    }
}

std::string RunCommand(const std::string& command, int* status) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
    *status = ::pclose(pipe);
    return out;
}

}  // namespace

TEST(OpenFailure, ScanTellsAnOrdinaryUserWhyThePortWouldNotOpen) {
    if (const char* ports = std::getenv(kPortsVariable)) return ScanEach(ports);
    if (::geteuid() != 0 || ::access("/usr/bin/setpriv", X_OK) != 0)
        GTEST_SKIP() << "needs root to prepare the lines and setpriv to run as nobody";
    const group* dialout = ::getgrnam("dialout");
    if (!dialout) GTEST_SKIP() << "this system has no dialout group";

    sim::PtyLine held, groupOnly, ownerOnly;
    ASSERT_TRUE(held.Ok() && groupOnly.Ok() && ownerOnly.Ok());
    // Open to all by its mode; only the claim of the program holding it stands in the way.
    ASSERT_EQ(::chmod(held.SlavePath().c_str(), 0666), 0);
    transport::SerialPort holder;
    holder.SetParams(held.SlavePath(), 8, 0, 0, 9600);
    ASSERT_EQ(holder.Open(), 1);
    ASSERT_EQ(::chown(groupOnly.SlavePath().c_str(), 0, dialout->gr_gid), 0);
    ASSERT_EQ(::chmod(groupOnly.SlavePath().c_str(), 0660), 0);
    ASSERT_EQ(::chmod(ownerOnly.SlavePath().c_str(), 0600), 0);

    char self[4096] = "";
    ASSERT_GT(::readlink("/proc/self/exe", self, sizeof self - 1), 0);
    const std::string ports = held.SlavePath() + ":" + groupOnly.SlavePath() + ":" +
                              ownerOnly.SlavePath() + ":/dev/no-such-port";
    const std::string command = "env " + std::string(kPortsVariable) + "=" + ports +
                                " setpriv --reuid=65534 --regid=65534 --clear-groups " + self +
                                " --gtest_filter=OpenFailure.* 2>&1";
    int status = -1;
    const std::string out = RunCommand(command, &status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(out.find("[  PASSED  ] 1 test"), std::string::npos) << out;
}
