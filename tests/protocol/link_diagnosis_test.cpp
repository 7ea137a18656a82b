// The link diagnosis end to end: the real port, reader thread and waits against a simulated
// device on a pseudo-terminal, one line fault per case, and the verdict it comes to.
#include "link_diagnosis.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "register_device.h"
#include "simulated_line.h"

using namespace protocol;
using sim::AddressingMode;
using sim::Fault;

namespace {

struct Case {
    std::string name;
    AddressingMode mode;
    std::uint32_t deviceBaud;
    std::uint8_t deviceAddress;
    Fault fault;
    // What the diagnosis must say.
    LinkVerdict verdict;
    int probes;
    std::uint32_t baud;
    Addressing found;
    Verdict reply;
    int address = -1;  // reported (ok, behind an echo, other-rate); -1: not looked at
    int asked = -1;    // other-address, exception
    int answeredFrom = -1;
    int faultMs = 0;  // the fault's pause, where it has one
};

// The order in which the probes go out.
std::vector<DiagnosisProgress> Plan() {
    std::vector<DiagnosisProgress> plan = {
        {DiagnosisStep::Scan, Addressing::Frame, 2400, 1},
        {DiagnosisStep::Scan, Addressing::Frame, 4800, 2},
        {DiagnosisStep::Scan, Addressing::Frame, 9600, 3},
        {DiagnosisStep::Scan, Addressing::Broadcast, 9600, 4},
        {DiagnosisStep::Scan, Addressing::Zero, 9600, 5},
    };
    for (std::uint32_t baud : {1200u, 19200u, 38400u})
        for (Addressing a : {Addressing::Frame, Addressing::Broadcast, Addressing::Zero})
            plan.push_back({DiagnosisStep::Listen, a, baud, static_cast<int>(plan.size()) + 1});
    return plan;
}

class Diagnose : public ::testing::TestWithParam<Case> {};

}  // namespace

TEST_P(Diagnose, NamesWhatIsWrongWithTheLine) {
    const Case& c = GetParam();
    sim::RegisterDeviceConfig config;
    config.address = c.deviceAddress;
    config.baud = c.deviceBaud;
    config.mode = c.mode;
    sim::SimulatedLine line(
        std::make_shared<sim::RegisterDevice>(config, sim::RegisterMap{{0, 550}}));
    ASSERT_TRUE(line.Ok());
    if (c.fault != Fault::None) line.SetFault(c.fault, -1, c.faultMs);
    transport::SerialLink link;

    std::vector<DiagnosisProgress> steps;
    const auto start = std::chrono::steady_clock::now();
    const LinkDiagnosis d =
        DiagnoseLink(link, line.Path(), [&](const DiagnosisProgress& p) { steps.push_back(p); });
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(12));

    EXPECT_STREQ(LinkVerdictName(d.verdict), LinkVerdictName(c.verdict));
    EXPECT_EQ(d.probes, c.probes);
    EXPECT_EQ(d.baud, c.baud);
    if (c.verdict != LinkVerdict::Silent) {
        EXPECT_STREQ(AddressingName(d.mode), AddressingName(c.found));
    }
    EXPECT_EQ(d.reply, c.reply) << VerdictName(d.reply);
    // -1: the case does not look at it.
    EXPECT_EQ(c.address < 0 ? -1 : d.address, c.address);
    EXPECT_EQ(c.asked < 0 ? -1 : d.askedAddress, c.asked);
    EXPECT_EQ(c.answeredFrom < 0 ? -1 : d.replyAddress, c.answeredFrom);
    EXPECT_EQ(d.exception, c.fault == Fault::Exception ? ExceptionCode::IllegalDataAddress
                                                       : ExceptionCode::None);
    EXPECT_EQ(d.answerBehindEcho, c.fault == Fault::Echo);
    EXPECT_EQ(d.openError, transport::OpenError::None);

    // The probes went out in the plan's order, one request each, and the records of the
    // diagnosis hold exactly those requests.
    const std::vector<DiagnosisProgress> plan = Plan();
    ASSERT_EQ(steps.size(), static_cast<std::size_t>(c.probes));
    for (std::size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(steps[i].step, plan[i].step);
        EXPECT_EQ(steps[i].probe, plan[i].probe);
        EXPECT_EQ(steps[i].baud, plan[i].baud);
        EXPECT_EQ(steps[i].number, plan[i].number);
    }
    int written = 0;
    for (const transport::TrafficRecord& r : link.Tap().Since(d.firstSequence - 1))
        if (r.sequence <= d.lastSequence && r.event == transport::TrafficEvent::Written) ++written;
    EXPECT_EQ(written, c.probes);
}

INSTANTIATE_TEST_SUITE_P(
    LinkDiagnosis, Diagnose,
    ::testing::Values(
        Case{"OkFoundByTheAddressFrame", AddressingMode::Frame, 4800, 7, Fault::None,
             LinkVerdict::Ok, 2, 4800, Addressing::Frame, Verdict::Ok, 7},
        Case{"OkInBroadcastMode", AddressingMode::Broadcast, 9600, 3, Fault::None, LinkVerdict::Ok,
             4, 9600, Addressing::Broadcast, Verdict::Ok, 3},
        Case{"OkInZeroMode", AddressingMode::Zero, 9600, 5, Fault::None, LinkVerdict::Ok, 5, 9600,
             Addressing::Zero, Verdict::Ok, 5},
        Case{"Silent", AddressingMode::Frame, 9600, 7, Fault::Silence, LinkVerdict::Silent, 14, 0,
             Addressing::Frame, Verdict::None},
        Case{"EchoWithTheDeviceBehindIt", AddressingMode::Frame, 9600, 7, Fault::Echo,
             LinkVerdict::Echo, 5, 9600, Addressing::Frame, Verdict::Echo, 7},
        // The reply right behind the echo: the link takes both as one burst.
        Case{"EchoAndReplyInOneBurst", AddressingMode::Frame, 4800, 7, Fault::Echo,
             LinkVerdict::Echo, 5, 4800, Addressing::Frame, Verdict::Echo, 7, -1, -1, 1},
        Case{"OtherRate19200", AddressingMode::Frame, 19200, 7, Fault::None, LinkVerdict::OtherRate,
             9, 19200, Addressing::Frame, Verdict::WrongFunction},
        Case{"OtherRate1200", AddressingMode::Broadcast, 1200, 3, Fault::None,
             LinkVerdict::OtherRate, 7, 1200, Addressing::Broadcast, Verdict::Ok, 3},
        Case{"GarbledByABadCrc", AddressingMode::Frame, 9600, 7, Fault::BadCrc,
             LinkVerdict::Garbled, 5, 9600, Addressing::Frame, Verdict::CrcError},
        Case{"GarbledByNoise", AddressingMode::Frame, 4800, 7, Fault::LeadingNoise,
             LinkVerdict::Garbled, 5, 4800, Addressing::Frame, Verdict::CrcError},
        Case{"GarbledByTwoReplies", AddressingMode::Zero, 9600, 5, Fault::DoubleReply,
             LinkVerdict::Garbled, 5, 9600, Addressing::Zero, Verdict::TooLong},
        Case{"OtherAddress", AddressingMode::Broadcast, 9600, 3, Fault::WrongAddress,
             LinkVerdict::OtherAddress, 5, 9600, Addressing::Broadcast, Verdict::WrongAddress, -1,
             0xFF, 0xFE},
        Case{"Exception", AddressingMode::Zero, 9600, 5, Fault::Exception, LinkVerdict::Exception,
             5, 9600, Addressing::Zero, Verdict::Exception, -1, 0x00}),
    [](const ::testing::TestParamInfo<Case>& info) { return info.param.name; });

TEST(LinkDiagnosis, AMissingPortEndsItBeforeAnythingIsSent) {
    transport::SerialLink link;
    int steps = 0;
    const LinkDiagnosis d =
        DiagnoseLink(link, "/dev/no-such-port", [&](const DiagnosisProgress&) { ++steps; });
    EXPECT_EQ(d.verdict, LinkVerdict::Missing);
    EXPECT_EQ(d.openError, transport::OpenError::Missing);
    EXPECT_EQ(d.probes, 0);
    EXPECT_EQ(steps, 0);
    EXPECT_TRUE(link.Tap().Since(0).empty());
}

TEST(LinkDiagnosis, APortThatWillNotOpenIsNamedByWhy) {
    using transport::OpenError;
    const struct {
        OpenError error;
        LinkVerdict verdict;
    } cases[] = {
        {OpenError::Missing, LinkVerdict::Missing}, {OpenError::NotSerial, LinkVerdict::Missing},
        {OpenError::Refused, LinkVerdict::Missing}, {OpenError::NoAnswer, LinkVerdict::Missing},
        {OpenError::Other, LinkVerdict::Missing},   {OpenError::Busy, LinkVerdict::Busy},
        {OpenError::Denied, LinkVerdict::Denied},   {OpenError::BadSettings, LinkVerdict::Denied},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VerdictForOpenError(c.error), c.verdict) << static_cast<int>(c.error);
}

TEST(LinkDiagnosis, VerdictsHaveStableWords) {
    const std::vector<std::string> words = {"ok",      "silent",        "echo",      "other-rate",
                                            "garbled", "other-address", "exception", "missing",
                                            "busy",    "denied"};
    ASSERT_EQ(LinkVerdicts().size(), words.size());
    for (std::size_t i = 0; i < words.size(); ++i) {
        EXPECT_EQ(LinkVerdictName(LinkVerdicts()[i]), words[i]);
        EXPECT_EQ(LinkVerdictFromName(words[i]), LinkVerdicts()[i]);
    }
    EXPECT_FALSE(LinkVerdictFromName("Ok"));
    EXPECT_STREQ(AddressingName(Addressing::Frame), "frame");
    EXPECT_STREQ(AddressingName(Addressing::Broadcast), "broadcast");
    EXPECT_STREQ(AddressingName(Addressing::Zero), "zero");
}
