// The live-value queries and the parameter commands: frames on the wire, the texts shown,
// the boxes, the busy flag, and replies too short to hold what is asked for.
#include "config_frames.h"
#include "quillet_fixture.h"
#include "register_frames.h"

using namespace quillettest;
using ui::BoxIcon;

TEST_F(QuilletTest, RegisterQueriesShowTheirValues) {
    StartFound(FrameDevice(2400, 7));
    const struct {
        int edit, query;
        std::uint16_t reg, word;
        Bytes request;
        QString shown;
    } cases[] = {
        {1014, 1005, 1, 0xFF38, ToBytes(protocol::BuildReadRegisters(7, 0, 2)), "-20.0"},
        {1014, 1005, 1, 0x00FA, ToBytes(protocol::BuildReadRegisters(7, 0, 2)), "25.0"},
        {1014, 1005, 1, 0x0005, ToBytes(protocol::BuildReadRegisters(7, 0, 2)), "0.5"},
        {1015, 1009, 0, 553, ToBytes(protocol::BuildReadRegisters(7, 0, 2)), "55.3"},
        {1015, 1009, 0, 0xFFFF, ToBytes(protocol::BuildReadRegisters(7, 0, 2)), "6553.5"},
        {1016, 1006, 2, 1, ToBytes(protocol::BuildReadRegisters(7, 2, 1)), "正常"},
        {1016, 1006, 2, 2, ToBytes(protocol::BuildReadRegisters(7, 2, 1)), "告警"},
        {1016, 1006, 2, 0, ToBytes(protocol::BuildReadRegisters(7, 2, 1)), " "},
        {1016, 1006, 2, 3, ToBytes(protocol::BuildReadRegisters(7, 2, 1)), " "},
        {1017, 1010, 3, 0, ToBytes(protocol::BuildReadRegisters(7, 3, 1)), "正常"},
        {1017, 1010, 3, 1, ToBytes(protocol::BuildReadRegisters(7, 3, 1)), "告警"},
        {1017, 1010, 3, 2, ToBytes(protocol::BuildReadRegisters(7, 3, 1)), "  "},
        {1030, 1020, 6, 65535, ToBytes(protocol::BuildReadRegisters(7, 6, 1)), "65535"},
        {1031, 1021, 2, 450, ToBytes(protocol::BuildReadRegisters(7, 2, 1)), "450"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown.toStdString());
        device_->Registers().SetRegister(c.reg, c.word);
        SetText(c.edit, "old");
        Query(c.query);
        EXPECT_EQ(TakeSent(), std::vector<Bytes>{c.request});
        EXPECT_EQ(Text(c.edit), c.shown);
    }
    EXPECT_TRUE(boxes_.Boxes().empty()) << boxes_.Texts().toStdString();
}

TEST_F(QuilletTest, InBroadcastModeEveryRegisterQueryGoesTo0xFF) {
    StartFound(BroadcastDevice(3));
    device_->Registers().SetRegister(1, 0xFF38);
    device_->Registers().SetRegister(2, 2);
    device_->Registers().SetRegister(6, 777);
    const struct {
        int edit, query;
        Bytes request;
        QString shown;
    } cases[] = {
        {1014, 1005, ToBytes(protocol::BuildReadRegisters(0xFF, 0, 2)), "-20.0"},
        {1016, 1006, ToBytes(protocol::BuildReadRegisters(0xFF, 2, 1)), "告警"},
        {1030, 1020, ToBytes(protocol::BuildReadRegisters(0xFF, 6, 1)), "777"},
    };
    for (const auto& c : cases) {
        Query(c.query);
        EXPECT_EQ(TakeSent(), std::vector<Bytes>{c.request});
        EXPECT_EQ(Text(c.edit), c.shown);
    }
}

TEST_F(QuilletTest, FailedQueriesLeaveTheFieldEmptyAndSayNothing) {
    StartFound(FrameDevice(2400, 7));
    const struct {
        const char* name;
        int edit, query;
        sim::Fault fault;
        int param;
    } cases[] = {
        {"silence", 1014, 1005, sim::Fault::Silence, 0},
        {"bad crc", 1014, 1005, sim::Fault::BadCrc, 0},
        {"other address", 1016, 1006, sim::Fault::WrongAddress, 0},
        {"other function", 1016, 1006, sim::Fault::WrongFunction, 0},
        {"three bytes", 1015, 1009, sim::Fault::Truncate, 3},
        // Valid CRC but cut before the second register: not a value from stale bytes.
        {"register reply too short", 1014, 1005, sim::Fault::ShortValid, 5},
        {"parameter silence", 1037, 1044, sim::Fault::Silence, 0},
        {"parameter bad crc", 1037, 1044, sim::Fault::BadCrc, 0},
        // FC FC FC, code, 0, one value byte and a fresh CRC: the value is not all there.
        {"parameter reply too short", 1037, 1044, sim::Fault::ShortValid, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // A good reply first, so the reply buffer holds a value a careless read would reuse.
        Query(c.query);
        ASSERT_NE(Text(c.edit), "");
        line_->SetFault(c.fault, 1, c.param);
        Query(c.query);
        EXPECT_EQ(Text(c.edit), "");
        EXPECT_TRUE(boxes_.Boxes().empty()) << boxes_.Texts().toStdString();
    }
}

TEST_F(QuilletTest, ParameterQueriesShowEachEncoding) {
    StartFound(FrameDevice());
    const struct {
        int edit, query;
        std::uint8_t code;
        std::uint16_t word;
        QString shown;
    } cases[] = {
        {1037, 1044, 1, 0x8005, "-0.5"},    {1037, 1044, 1, 253, "25.3"},
        {1036, 1043, 2, 0xFFFF, "-3276.7"}, {1034, 1041, 3, 0x8003, "-3"},
        {1035, 1042, 4, 0x8000, "-0"},      {1032, 1039, 5, 90, "90"},
        {1033, 1040, 6, 0x7FFF, "32767"},   {1048, 1050, 7, 15, "1.5"},
        {1047, 1049, 8, 0x800A, "-1.0"},    {1063, 1064, 11, 65535, "65535"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown.toStdString());
        device_->SetParameter(c.code, c.word);
        Query(c.query);
        EXPECT_EQ(TakeSent(), std::vector<Bytes>{ToBytes(protocol::BuildConfigRead(c.code))});
        EXPECT_EQ(Text(c.edit), c.shown);
    }
}

TEST_F(QuilletTest, ParameterSetsSendTheEncodedEntry) {
    StartFound(FrameDevice());
    const struct {
        int edit, set;
        std::uint8_t code;
        QString text;
        std::uint16_t word;
    } cases[] = {
        {1037, 1027, 1, "-0.5", 0x8005},   {1037, 1027, 1, "2.34", 23},
        {1036, 1026, 2, "3276.7", 0x7FFF}, {1036, 1026, 2, "-3276.7", 0xFFFF},
        {1034, 1024, 3, "-3", 0x8003},     {1035, 1025, 4, "-0.4", 0x8000},
        {1032, 1022, 5, "32767", 0x7FFF},  {1033, 1023, 6, "-0", 0},
        {1048, 1046, 7, "-3", 0},          {1048, 1046, 7, "3276.7", 0x7FFF},
        {1047, 1045, 8, "-1e999", 0},      {1063, 1065, 11, "12.9", 12},
        {1063, 1065, 11, "65535", 0xFFFF}, {1063, 1065, 11, "-0.5", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        boxes_.Clear();
        SetText(c.edit, c.text);
        Click(c.set);
        EXPECT_EQ(TakeSent(),
                  std::vector<Bytes>{ToBytes(protocol::BuildConfigWrite(c.code, c.word))});
        const ui::BoxRequest box = boxes_.Only();
        EXPECT_EQ(box.text, "设置成功");
        EXPECT_EQ(box.caption, "Quillet");
        EXPECT_EQ(box.icon, BoxIcon::None);
        EXPECT_EQ(device_->Parameter(c.code), c.word);
        EXPECT_EQ(Text(c.edit), c.text);  // not refreshed
    }
}

TEST_F(QuilletTest, EntriesThatCannotBeSentFaithfullyAreRefused) {
    StartFound(FrameDevice());
    const struct {
        int edit, set;
        QString text, box;
        BoxIcon icon;
    } cases[] = {
        // A sign-magnitude word has 15 bits for the magnitude.
        {1037, 1027, "3276.8", "参数错误", BoxIcon::Question},
        {1037, 1027, "1e30", "参数错误", BoxIcon::Question},
        {1034, 1024, "-32768", "参数错误", BoxIcon::Question},
        {1048, 1046, "5000", "参数错误", BoxIcon::Question},
        // The output delay is a 16-bit word.
        {1063, 1065, "70000", "数值超出范围", BoxIcon::Warning},  // once 4464 went out
        {1063, 1065, "-1", "数值超出范围", BoxIcon::Warning},     // once 65535 went out
        {1063, 1065, "99999999999", "数值超出范围", BoxIcon::Warning},
        // Not a number anywhere.
        {1034, 1024, "inf", "请输入数字", BoxIcon::Warning},
        {1033, 1023, "abc", "请输入数字", BoxIcon::Warning},
        {1047, 1045, "nan", "请输入数字", BoxIcon::Warning},
        {1063, 1065, "+-626633333", "请输入数字", BoxIcon::Warning},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        boxes_.Clear();
        SetText(c.edit, c.text);
        Click(c.set);
        EXPECT_TRUE(TakeSent().empty());
        const ui::BoxRequest box = boxes_.Only();
        EXPECT_EQ(box.text, c.box);
        EXPECT_EQ(box.caption, "警告");
        EXPECT_EQ(box.icon, c.icon);
    }
}

TEST_F(QuilletTest, AFailedSetSaysSoOnce) {
    StartFound(FrameDevice());
    const struct {
        const char* name;
        sim::Fault fault;
        int param;
    } cases[] = {
        {"silence", sim::Fault::Silence, 0},
        {"bad crc", sim::Fault::BadCrc, 0},
        {"three bytes", sim::Fault::Truncate, 3},
        {"not a parameter reply", sim::Fault::LeadingNoise, 1},
        // Valid CRC, but not what was asked: another code, another value, cut before the
        // value, or two echoes in one reply.
        {"other code", sim::Fault::WrongFunction, 3},
        {"other value", sim::Fault::WrongFunction, 6},
        {"value cut", sim::Fault::ShortValid, 6},
        {"two echoes", sim::Fault::DoubleReply, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        boxes_.Clear();
        line_->SetFault(c.fault, 1, c.param);
        SetText(1034, "45");
        Click(1024);
        const ui::BoxRequest box = boxes_.Only();
        EXPECT_EQ(box.text, "设置失败");
        EXPECT_EQ(box.caption, "警告");
        EXPECT_EQ(box.icon, BoxIcon::Question);
    }
}

// A device that answers a parameter write with its 11-byte report (value and a second
// value) has done the write as well.
TEST_F(QuilletTest, ParameterSetAnsweredWithTheLongReportSucceeds) {
    sim::TransmitterConfig config = FrameDevice();
    config.reportParameterWrites = true;
    StartFound(config);
    SetText(1034, "-45");
    Click(1024);
    EXPECT_EQ(TakeSent(), std::vector<Bytes>{ToBytes(protocol::BuildConfigWrite(3, 0x802D))});
    EXPECT_EQ(boxes_.Only().text, "设置成功");
    EXPECT_EQ(device_->Parameter(3), 0x802D);
}

TEST_F(QuilletTest, ContactTypeListFollowsTheDevice) {
    StartFound(FrameDevice());
    const struct {
        std::uint16_t word;
        int index;
    } reads[] = {{1, 1}, {0, 0}, {2, -1}, {0x8000, -1}};
    for (const auto& r : reads) {
        SCOPED_TRACE(r.word);
        device_->SetParameter(12, r.word);
        Query(1067);
        EXPECT_EQ(TakeSent(), std::vector<Bytes>{ToBytes(protocol::BuildConfigRead(12))});
        EXPECT_EQ(List(1066)->currentIndex(), r.index);
    }
    // No selection: refused, nothing sent.
    Click(1068);
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_EQ(boxes_.Only().text, "参数错误");
    EXPECT_EQ(boxes_.Only().caption, "警告");
    for (int index : {1, 0}) {
        boxes_.Clear();
        List(1066)->setCurrentIndex(index);
        Click(1068);
        EXPECT_EQ(TakeSent(), std::vector<Bytes>{ToBytes(protocol::BuildConfigWrite(
                                  12, static_cast<std::uint16_t>(index)))});
        EXPECT_EQ(boxes_.Only().text, "设置成功");
        EXPECT_EQ(device_->Parameter(12), index);
    }
}

TEST_F(QuilletTest, TheBusyFlagAllowsOneQueryPerPeriodAndNeverBlocksSets) {
    StartFound(FrameDevice());
    const struct {
        int first, second;
        std::size_t sent;
    } cases[] = {
        {1005, 1005, 1},                   // the same query twice
        {1044, 1009, 1},                   // any two queries
        {1008, 1067, 1}, {1027, 1027, 2},  // sets ignore the flag
        {1005, 1027, 2},                   // a set right after a query
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        ASSERT_TRUE(testsupport::WaitFor([this] { return !dialog_->Busy().IsSet(); }));
        TakeSent();
        // Both clicks in one go: no timer tick can run between them.
        Click(c.first);
        Click(c.second);
        EXPECT_EQ(TakeSent().size(), c.sent);
    }
    boxes_.Clear();
    // Once the timer has ticked, the next query runs.
    Query(1005);
    EXPECT_EQ(TakeSent().size(), 1u);
}
