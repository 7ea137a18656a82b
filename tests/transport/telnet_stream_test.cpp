// The Telnet layer without sockets: what comes out of a received stream, however it is cut
// into reads, what goes back to the server, and what goes on the wire for our data.
#include "telnet_stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using transport::TelnetStream;
using Bytes = std::vector<std::uint8_t>;
using Side = TelnetStream::Side;
using State = TelnetStream::State;

namespace {

constexpr std::uint8_t IAC = 255, DONT = 254, DO = 253, WONT = 252, WILL = 251, SB = 250, SE = 240,
                       NOP = 241, DM = 242, GA = 249;
constexpr std::uint8_t BINARY = 0, ECHO = 1, SGA = 3, TTYPE = 24, COMPORT = 44;

struct Result {
    Bytes data;
    Bytes replies;
    std::vector<TelnetStream::Subnegotiation> subnegotiations;
    bool operator==(const Result&) const = default;
};

void PrintTo(const Result& r, std::ostream* os) {
    *os << "data " << ::testing::PrintToString(r.data) << " replies "
        << ::testing::PrintToString(r.replies) << " subnegotiations " << r.subnegotiations.size();
}

// Feeds `input` cut at the given positions into a fresh stream (prepared by `setup`).
Result Feed(const Bytes& input, const std::vector<std::size_t>& cuts,
            void (*setup)(TelnetStream&) = nullptr) {
    TelnetStream stream;
    if (setup) setup(stream);
    stream.TakeOutgoing();
    Result result;
    std::size_t from = 0;
    std::vector<std::size_t> ends = cuts;
    ends.push_back(input.size());
    for (const std::size_t to : ends) {
        Bytes chunk(input.begin() + static_cast<std::ptrdiff_t>(from),
                    input.begin() + static_cast<std::ptrdiff_t>(to));
        const std::size_t n = stream.Receive(chunk.data(), chunk.size(), chunk.data());
        result.data.insert(result.data.end(), chunk.begin(),
                           chunk.begin() + static_cast<std::ptrdiff_t>(n));
        from = to;
    }
    result.replies = stream.TakeOutgoing();
    result.subnegotiations = stream.TakeSubnegotiations();
    return result;
}

void BinaryBothWays(TelnetStream& s) {
    s.Ask(Side::Us, BINARY);
    s.Ask(Side::Him, BINARY);
    const std::uint8_t agreed[] = {IAC, DO, BINARY, IAC, WILL, BINARY};
    std::uint8_t data[sizeof agreed];
    s.Receive(agreed, sizeof agreed, data);
}

}  // namespace

// Every row is fed whole, cut once at every position, and one byte at a time: a command
// split across reads must come out as if it had arrived in one piece.
TEST(TelnetStream, TakesDataOutOfTheStreamAndAnswersTheServerHoweverTheReadsAreCut) {
    const struct {
        const char* what;
        Bytes input;
        Result expected;
        void (*setup)(TelnetStream&) = nullptr;
    } rows[] = {
        {"plain data", {1, 2, 0x0D, 0x0A, 3}, {{1, 2, 0x0D, 0x0A, 3}, {}, {}}},
        {"IAC IAC is one 0xFF", {IAC, IAC, 1, IAC, IAC, IAC, IAC}, {{IAC, 1, IAC, IAC}, {}, {}}},
        {"commands carry no data", {1, IAC, NOP, 2, IAC, GA, IAC, DM, 3}, {{1, 2, 3}, {}, {}}},
        {"com port answer",
         {7, IAC, SB, COMPORT, 101, 0, 0, 0x12, 0xC0, IAC, SE, 8},
         {{7, 8}, {}, {{COMPORT, {101, 0, 0, 0x12, 0xC0}}}}},
        {"IAC IAC inside a subnegotiation",
         {IAC, SB, COMPORT, 101, 0, IAC, IAC, IAC, IAC, 1, IAC, SE},
         {{}, {}, {{COMPORT, {101, 0, IAC, IAC, 1}}}}},
        {"a command ends an unfinished subnegotiation",
         {IAC, SB, COMPORT, 107, 0, IAC, DO, SGA, 5},
         {{5}, {IAC, WILL, SGA}, {{COMPORT, {107, 0}}}}},
        {"a server's greeting: binary and no go-ahead taken, its echo refused",
         {IAC,  WILL, SGA, IAC,    DO,  SGA,  IAC,    WILL, ECHO, IAC,    DONT,
          ECHO, IAC,  DO,  BINARY, IAC, WILL, BINARY, IAC,  DO,   COMPORT},
         {{},
          {IAC, DO, SGA, IAC, WILL, SGA, IAC, DONT, ECHO, IAC, WILL, BINARY, IAC, DO, BINARY, IAC,
           WILL, COMPORT},
          {}}},
        {"what we do not do is refused",
         {IAC, DO, TTYPE, IAC, DO, ECHO, IAC, WILL, COMPORT},
         {{}, {IAC, WONT, TTYPE, IAC, WONT, ECHO, IAC, DONT, COMPORT}, {}}},
        {"a request for what is already so gets no answer",
         {IAC, WILL, SGA, IAC, WILL, SGA, IAC, DONT, TTYPE},
         {{}, {IAC, DO, SGA}, {}}},
        {"an option switched off again is confirmed off",
         {IAC, WILL, BINARY, IAC, WONT, BINARY, IAC, DO, SGA, IAC, DONT, SGA},
         {{}, {IAC, DO, BINARY, IAC, DONT, BINARY, IAC, WILL, SGA, IAC, WONT, SGA}, {}}},
        {"without binary a CR is padded with NUL",
         {0x0D, 0, 1, 0x0D, 0x0A, 0, 0},
         {{0x0D, 1, 0x0D, 0x0A, 0, 0}, {}, {}}},
        {"with binary a NUL after CR is data",
         {0x0D, 0, 1},
         {{0x0D, 0, 1}, {}, {}},
         BinaryBothWays},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(Feed(row.input, {}, row.setup), row.expected);
        for (std::size_t cut = 1; cut < row.input.size(); ++cut) {
            EXPECT_EQ(Feed(row.input, {cut}, row.setup), row.expected) << "cut at " << cut;
        }
        std::vector<std::size_t> everyByte;
        for (std::size_t i = 1; i < row.input.size(); ++i) everyByte.push_back(i);
        EXPECT_EQ(Feed(row.input, everyByte, row.setup), row.expected) << "byte by byte";
    }
}

TEST(TelnetStream, OurRequestsAreAnsweredNotEchoed) {
    const struct {
        Side side;
        std::uint8_t option;
        Bytes asked;   // what the request puts on the wire
        Bytes answer;  // the server's answer
        State state;
    } rows[] = {
        {Side::Us, COMPORT, {IAC, WILL, COMPORT}, {IAC, DO, COMPORT}, State::On},
        {Side::Us, COMPORT, {IAC, WILL, COMPORT}, {IAC, DONT, COMPORT}, State::Refused},
        {Side::Him, BINARY, {IAC, DO, BINARY}, {IAC, WILL, BINARY}, State::On},
        {Side::Him, BINARY, {IAC, DO, BINARY}, {IAC, WONT, BINARY}, State::Refused},
        {Side::Us, SGA, {IAC, WILL, SGA}, {}, State::Asked},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.answer));
        TelnetStream stream;
        stream.Ask(row.side, row.option);
        stream.Ask(row.side, row.option);  // asked once only
        EXPECT_EQ(stream.TakeOutgoing(), row.asked);
        Bytes answer = row.answer;
        EXPECT_EQ(stream.Receive(answer.data(), answer.size(), answer.data()), 0u);
        EXPECT_EQ(stream.StateOf(row.side, row.option), row.state);
        EXPECT_EQ(stream.TakeOutgoing(), Bytes{}) << "an answer was answered";
    }
}

TEST(TelnetStream, DataAndSubnegotiationsGoOnTheWireEscaped) {
    const struct {
        const char* what;
        bool binary;
        Bytes data;
        Bytes wire;
    } rows[] = {
        {"IAC doubled", true, {1, IAC, 2, IAC, IAC}, {1, IAC, IAC, 2, IAC, IAC, IAC, IAC}},
        {"binary: CR as it is", true, {0x0D, 0, 0x0D, 0x0A}, {0x0D, 0, 0x0D, 0x0A}},
        {"not binary: CR padded", false, {0x0D, 1, 0x0D, 0x0A}, {0x0D, 0, 1, 0x0D, 0, 0x0A}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        TelnetStream stream;
        if (row.binary) BinaryBothWays(stream);
        stream.TakeOutgoing();
        stream.SendData(row.data.data(), row.data.size());
        EXPECT_EQ(stream.TakeOutgoing(), row.wire);
    }
    TelnetStream stream;
    stream.SendSubnegotiation(COMPORT, {1, 0, 0, IAC, 0x10});
    EXPECT_EQ(stream.TakeOutgoing(), (Bytes{IAC, SB, COMPORT, 1, 0, 0, IAC, IAC, 0x10, IAC, SE}));
}
