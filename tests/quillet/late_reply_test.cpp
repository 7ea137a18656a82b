// A reply that comes late never shows up as another field's value: the transmitter answers
// the temperature query late and ignores the requests that arrive meanwhile; the light query
// follows on the same link.
#include "quillet_fixture.h"

using namespace quillettest;

TEST_F(QuilletTest, ALateReplyShowsInItsOwnFieldOrNowhere) {
    // Temperature is word 1 of registers 0-1 (23.6), light register 6 (830); the temperature
    // reply read as the light's would show 553.
    StartFound(FrameDevice());
    const struct {
        int lateMs;
        const char* temperature;  // within the 500 ms wait or not
    } rows[] = {{100, "23.6"}, {300, "23.6"}, {450, "23.6"}, {550, ""}, {650, ""}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.lateMs);
        SetText(1014, "old");
        SetText(1030, "old");
        line_->SetFault(sim::Fault::Late, 1, row.lateMs);
        Query(1005);
        Query(1020);
        EXPECT_EQ(Text(1014), row.temperature);
        EXPECT_EQ(Text(1030), "830");
        EXPECT_EQ(TakeSent(), (std::vector<Bytes>{ToBytes(protocol::BuildReadRegisters(7, 0, 2)),
                                                  ToBytes(protocol::BuildReadRegisters(7, 6, 1))}));
    }
    EXPECT_TRUE(boxes_.Boxes().empty()) << boxes_.Texts().toStdString();
}
