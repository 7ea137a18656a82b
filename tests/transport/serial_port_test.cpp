#include "serial_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "posix_serial_backend.h"
#include "pty_line.h"

using transport::OpenError;
using transport::SerialPort;

namespace {

int OpenPort(SerialPort& port, const std::string& path, std::uint32_t baud) {
    port.SetParams(path, 8, 0, 0, baud);
    return port.Open();
}

}  // namespace

TEST(SerialPort, FailsCleanlyOnPathsThatAreNoSerialLine) {
    char file[] = "/tmp/serial_port_testXXXXXX";
    const int fd = ::mkstemp(file);
    ASSERT_GE(fd, 0);
    ::close(fd);
    const struct {
        std::string path;
        std::uint32_t baud;
        OpenError error;
    } cases[] = {
        {"/dev/does-not-exist", 9600, OpenError::Missing},
        {"/dev/null", 9600, OpenError::NotSerial},  // a device, but not a terminal
        {file, 9600, OpenError::NotSerial},         // a regular file
        {"", 9600, OpenError::Missing},
    };
    for (const auto& c : cases) {
        SerialPort port;
        EXPECT_EQ(OpenPort(port, c.path, c.baud), 0) << c.path;
        EXPECT_FALSE(port.IsOpen()) << c.path;
        EXPECT_EQ(port.LastOpenError(), c.error) << c.path;
    }
    ::unlink(file);
}

// Why a local line would not open, as the user is told: the dialout hint only where joining
// that group is what stands in the way.
TEST(SerialPort, FailedOpenReasonFromErrnoAndGroups) {
    const std::vector<std::string> plain{"nogroup"}, member{"users", "dialout"};
    const struct {
        int error;
        const char* deviceGroup;
        const std::vector<std::string>& userGroups;
        OpenError expected;
    } cases[] = {
        {EBUSY, "dialout", plain, OpenError::Busy},  // held exclusively by another program
        {EACCES, "dialout", plain, OpenError::NotInGroup},
        {EPERM, "dialout", plain, OpenError::NotInGroup},
        {EACCES, "uucp", plain, OpenError::NotInGroup},
        {EACCES, "dialout", member, OpenError::Denied},  // a member already: joining won't help
        {EACCES, "tty", plain, OpenError::Denied},       // a pseudo-terminal of another user
        {EACCES, "root", plain, OpenError::Denied},
        {EACCES, "", plain, OpenError::Denied},  // the device's group is unknown
        {ENOENT, "", plain, OpenError::Missing},
        {ENODEV, "dialout", plain, OpenError::Missing},
        {ENXIO, "dialout", plain, OpenError::Missing},  // an adapter that is gone
        {EIO, "dialout", plain, OpenError::Other},
    };
    for (const auto& c : cases)
        EXPECT_EQ(transport::OpenErrorOf(c.error, c.deviceGroup, c.userGroups), c.expected)
            << std::strerror(c.error) << " on a device of group '" << c.deviceGroup << "'";
}

TEST(SerialPort, RefusesBaudRatesThePlatformCannotSet) {
    sim::PtyLine line;
    ASSERT_TRUE(line.Ok());
    SerialPort port;
    EXPECT_EQ(OpenPort(port, line.SlavePath(), 12345), 0);
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(OpenPort(port, line.SlavePath(), 4800), 1);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(line.LineBaud(), 4800u);
}

TEST(SerialPort, WriteWhileClosedSendsNothing) {
    sim::PtyLine line;
    SerialPort port;
    const std::uint8_t bytes[] = {1, 2, 3};
    EXPECT_EQ(port.Write(bytes, 3), 0);
    OpenPort(port, line.SlavePath(), 9600);
    port.Close();
    EXPECT_EQ(port.Write(bytes, 3), 0);
    std::uint8_t buffer[8];
    EXPECT_EQ(::read(line.MasterFd(), buffer, sizeof buffer), -1);  // nothing arrived
}

TEST(SerialPort, ReadsOnlyWhatWaitsAndWritesWholeFrames) {
    sim::PtyLine line;
    SerialPort port;
    ASSERT_EQ(OpenPort(port, line.SlavePath(), 9600), 1);
    std::uint8_t buffer[256];
    EXPECT_EQ(port.Read(buffer, sizeof buffer), 0u);
    const std::uint8_t reply[] = {0x01, 0x03, 0x02, 0x00, 0xFD};
    ASSERT_EQ(::write(line.MasterFd(), reply, sizeof reply), 5);
    ::usleep(20000);
    EXPECT_EQ(port.Read(buffer, 3), 3u);
    EXPECT_EQ(port.Read(buffer + 3, sizeof buffer), 2u);
    EXPECT_EQ(0, std::memcmp(buffer, reply, 5));

    const std::uint8_t request[] = {0xFD, 0xFD, 0xFD, 0x00, 0x00, 0xE9, 0x88};
    EXPECT_EQ(port.Write(request, sizeof request), 1);
    ::usleep(20000);
    std::uint8_t got[16];
    EXPECT_EQ(::read(line.MasterFd(), got, sizeof got), 7);
    EXPECT_EQ(0, std::memcmp(got, request, 7));
}

TEST(SerialPort, ExclusiveClaimIsReleasedOnClose) {
    sim::PtyLine line;
    {
        SerialPort first;
        ASSERT_EQ(OpenPort(first, line.SlavePath(), 9600), 1);
        if (::geteuid() != 0) {
            SerialPort second;  // root ignores the claim; others are refused
            EXPECT_EQ(OpenPort(second, line.SlavePath(), 9600), 0);
        }
    }
    SerialPort again;
    EXPECT_EQ(OpenPort(again, line.SlavePath(), 9600), 1);
}
