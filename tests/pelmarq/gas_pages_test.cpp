// The gas transmitter pages end to end: widgets clicked, frames on the wire, texts shown.
#include <QCheckBox>

#include "gas_test_bench.h"

using gastest::Bench;
using gastest::Click;
using gastest::Request;
using gastest::TextOf;

namespace {

constexpr std::uint8_t kRead = 3, kWrite = 6;

struct ReadCase {
    const char* tab = "";
    const char* edit = "";
    const char* query = "";
    std::uint16_t reg = 0;
    std::uint16_t value = 0;
    const char* shown = "";
};

// Every page's live values and a sample of each limit block, at the default sensor types.
const ReadCase kReads[] = {
    {" CO2 ", "1049", "1051", 1, 0xFFF6, "-1.0"},   {" CO2 ", "1053", "1054", 2, 40000, "40000"},
    {" CO2 ", "1094", "1095", 51, 0xFFFB, "-0.5"},  {" CO2 ", "1100", "1101", 61, 65516, "-20"},
    {" CO2 ", "1059", "1060", 50, 15, "1.5"},  // hidden hysteresis
    {" CO2 ", "1091", "1092", 57, 10, "1.0"},  // hidden HRegEn, tenths
    {" CO2 ", "1088", "1089", 64, 65535, "65535"},  {" CO ", "1055", "1067", 2, 25, "2.5"},
    {" TOVC ", "1071", "1070", 0, 320, "320"},      {" SO2 ", "1075", "1078", 2, 35, "0.35"},
    {"  O2  ", "1135", "1147", 2, 209, "20.9"},     {"  O2  ", "1138", "1152", 50, 0xFFFF, "-0.1"},
    {"  O2  ", "1142", "1160", 54, 235, "23.5"},    {" H2S ", "1169", "1181", 2, 4, "4"},
    {" H2S ", "1178", "1198", 56, 65535, "65535"},  {" NH3 ", "1089", "1109", 2, 1234, "12.34"},
    {" NH3 ", "1106", "1126", 56, 0xFFCE, "-0.50"}, {" O3 ", "1203", "1215", 2, 57, "0.57"},
    {" O3 ", "1210", "1228", 54, 100, "1.00"},
};

TEST(GasPages, QueriesReadTheirRegisterAndShowItsText) {
    Bench bench;
    for (const ReadCase& c : kReads) {
        SCOPED_TRACE(std::string(c.tab) + " " + c.edit);
        auto page = bench.Gas(c.tab);
        bench.Device().SetRegister(c.reg, c.value);
        bench.Forget();
        Click(page.get(), c.query);
        EXPECT_EQ(TextOf(page.get(), c.edit), QString::fromUtf8(c.shown));
        EXPECT_EQ(bench.Requests(), (std::vector<Request>{{kRead, c.reg, 1}}));
        EXPECT_TRUE(bench.Boxes().Boxes().empty()) << bench.Boxes().Texts().toStdString();
    }
}

struct WriteCase {
    const char* tab = "";
    const char* edit = "";
    const char* set = "";
    const char* entry = "";
    std::uint16_t reg = 0;
    std::uint16_t sent = 0;
    const char* refused = nullptr;  // the box of an entry that cannot go out (nothing sent)
};

const WriteCase kWrites[] = {
    {" CO2 ", "1094", "1096", "-1.5", 51, 0xFFF1},
    {" CO2 ", "1100", "1102", "-20", 61, 65516},
    {" CO2 ", "1085", "1087", "1", 52, 1},               // TRegEn
    {" CO2 ", "1091", "1093", "1", 57, 10},              // HRegEn is kept in tenths
    {" CO2 ", "1091", "1093", "0.5", 57, 0},             // truncated to 0, never 5 tenths
    {" CO2 ", "1082", "1084", "", 62, 0, "请输入数字"},  // CO2Regen
    {" CO2 ", "1085", "1087", "2", 52, 0, "非法输入"},
    {" CO2 ", "1091", "1093", "10", 57, 0, "非法输入"},
    {" CO2 ", "1082", "1084", "65537", 62, 0, "非法输入"},
    {"  O2  ", "1142", "1161", "23.5", 54, 235},
    {" H2S ", "1176", "1195", "70000", 54, 0, "数值超出范围"},  // once 4464 went out
    {" NH3 ", "1104", "1123", "2.3", 54, 229},
    {" O3 ", "1206", "1221", "4.35", 50, 43},
};

TEST(GasPages, SetsWriteTheEntryToTheirRegister) {
    Bench bench;
    for (const WriteCase& c : kWrites) {
        SCOPED_TRACE(std::string(c.tab) + " " + c.edit + " '" + c.entry + "'");
        auto page = bench.Gas(c.tab);
        gastest::EditOf(page.get(), c.edit)->setText(QString::fromUtf8(c.entry));
        bench.Forget();
        Click(page.get(), c.set);
        const ui::BoxRequest box = bench.Boxes().Only();
        if (c.refused) {
            EXPECT_TRUE(bench.Requests().empty());
            EXPECT_EQ(box.text + box.caption, QString::fromUtf8(c.refused) + "警告");
            EXPECT_EQ(box.icon, ui::BoxIcon::Warning);
            continue;
        }
        EXPECT_EQ(bench.Requests(), (std::vector<Request>{{kWrite, c.reg, c.sent}}));
        EXPECT_EQ(bench.Device().Register(c.reg), c.sent);
        EXPECT_EQ(box.text + box.caption, "写入成功");
        EXPECT_EQ(box.icon, ui::BoxIcon::Information);
    }
}

struct TypeCase {
    const char* tab = "";
    int items = 0;
    int defaultIndex = 0;
    std::vector<const char*> thEdits = {};  // blanked by the gas-only type
    const char* tempQuery = "";
    const char* gasQuery = "";
    std::size_t pollGasOnly = 0, pollCombined = 0;
};

const TypeCase kTypes[] = {
    {" CO2 ", 2, 1, {"1049", "1050", "1055", "1059", "1085", "1097", "1091"}, "1051", "1054", 1, 3},
    {" CO ", 2, 1, {"1068", "1054"}, "1065", "1067", 1, 3},
    {" SO2 ", 2, 1, {"1073", "1074"}, "1076", "1078", 1, 3},
    {" NO2 ", 2, 1, {"1080", "1081"}, "1083", "1085", 2, 4},
    {"  O2  ", 2, 1, {"1133", "1134", "1138", "1141"}, "1145", "1147", 1, 3},
    {" H2S ", 2, 1, {"1167", "1168", "1170", "1175"}, "1179", "1181", 1, 3},
    {" NH3 ", 6, 3, {"1087", "1088", "1090", "1103"}, "1107", "1109", 1, 3},
    {" O3 ", 4, 2, {"1201", "1202", "1204", "1209"}, "1213", "1215", 1, 3},
};

TEST(GasPages, GasOnlyTypesBlankAndDisableTheTemperatureAndHumidityRows) {
    Bench bench;
    for (const TypeCase& c : kTypes) {
        SCOPED_TRACE(c.tab);
        auto page = bench.Gas(c.tab);
        ASSERT_EQ(page->SensorType()->count(), c.items);
        EXPECT_EQ(page->SensorType()->currentIndex(), c.defaultIndex);
        for (const char* name : c.thEdits) {
            gastest::EditOf(page.get(), name)->setText("7");
            EXPECT_TRUE(gastest::EditOf(page.get(), name)->isEnabled()) << name;
        }
        bench.Forget();
        page->Poll();
        EXPECT_EQ(bench.Requests().size(), c.pollCombined);

        gastest::ChooseType(page.get(), 0);     // the first item is always gas-only
        EXPECT_TRUE(bench.Requests().empty());  // choosing a type sends nothing
        for (const char* name : c.thEdits) {
            EXPECT_EQ(TextOf(page.get(), name), " ") << name;
            EXPECT_FALSE(gastest::EditOf(page.get(), name)->isEnabled()) << name;
        }
        EXPECT_FALSE(testsupport::Find<QPushButton>(page.get(), c.tempQuery)->isEnabled());
        EXPECT_TRUE(testsupport::Find<QPushButton>(page.get(), c.gasQuery)->isEnabled());
        page->Poll();
        EXPECT_EQ(bench.Requests().size(), c.pollGasOnly);

        gastest::ChooseType(page.get(), c.defaultIndex);
        for (const char* name : c.thEdits) {
            EXPECT_EQ(TextOf(page.get(), name), " ") << name;
            EXPECT_TRUE(gastest::EditOf(page.get(), name)->isEnabled()) << name;
        }
    }
}

struct RangeCase {
    const char* tab = "";
    int type = 0;
    std::uint16_t value = 0;
    const char* shown = "";       // register 2 and the gas limit at 54 alike
    const char* limitEntry = "";  // written to register 54
    std::uint16_t limitSent = 0;
};

const RangeCase kRanges[] = {
    {" NH3 ", 3, 1234, "12.34", "2.3", 229},   {" NH3 ", 0, 1234, "12.34", "25", 2500},
    {" NH3 ", 4, 1234, "1234", "25", 25},      {" NH3 ", 2, 0xFFFF, "65535", "2.3", 2},
    {" NH3 ", 5, 1234, "1234", "250", 250},    {" O3 ", 2, 57, "0.57", "1.5", 150},
    {" O3 ", 0, 57, "0.57", "0.07", 7},        {" O3 ", 3, 57, "5.7", "1.5", 15},
    {" O3 ", 1, 0xFFF6, "-1.0", "-1", 0xFFF6},
};

// The range is taken from the chosen type at every query, set and poll.
TEST(GasPages, RangeTypesChooseTheGasEncoding) {
    Bench bench;
    for (const RangeCase& c : kRanges) {
        SCOPED_TRACE(std::string(c.tab) + " type " + std::to_string(c.type));
        auto page = bench.Gas(c.tab);
        const bool nh3 = std::string(c.tab) == " NH3 ";
        const char *gas = nh3 ? "1089" : "1203", *limit = nh3 ? "1104" : "1210";
        const char *gasQuery = nh3 ? "1109" : "1215", *limitQuery = nh3 ? "1122" : "1228";
        const char* limitSet = nh3 ? "1123" : "1229";
        gastest::ChooseType(page.get(), c.type);
        bench.Device().SetRegister(2, c.value);
        bench.Device().SetRegister(54, c.value);
        Click(page.get(), gasQuery);
        EXPECT_EQ(TextOf(page.get(), gas), c.shown);
        Click(page.get(), limitQuery);
        EXPECT_EQ(TextOf(page.get(), limit), c.shown);
        page->SensorType()->setEnabled(true);
        gastest::EditOf(page.get(), gas)->clear();
        page->Poll();
        EXPECT_EQ(TextOf(page.get(), gas), c.shown);
        gastest::EditOf(page.get(), limit)->setText(c.limitEntry);
        bench.Boxes().Clear();
        Click(page.get(), limitSet);
        EXPECT_EQ(bench.Device().Register(54), c.limitSent);
        EXPECT_EQ(bench.Boxes().Only().text, "写入成功");
    }
}

// The ppm and mg/m3 fields come from two reads of register 2, each filling its own field
// and reporting its own failure, by the query button and by the poll alike.
TEST(GasPages, No2ShowsPpmAndMgFromTwoReads) {
    const struct {
        const char* name;
        bool poll;
        int silent;  // replies left unanswered from the first read on
        QString ppm, mg;
        int boxes;  // "读取格式错误" shown
    } cases[] = {
        {"query", false, 0, "1.00", "2.05", 0},
        {"query, first read unanswered", false, 1, "", "2.05", 1},
        {"query, both unanswered", false, 2, "", "", 2},
        {"poll", true, 0, "1.00", "2.05", 0},
        {"poll, first read unanswered", true, 1, "", "2.05", 0},
        {"poll, both unanswered", true, 2, "", "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bench bench;
        auto page = bench.Gas(" NO2 ");
        gastest::ChooseType(page.get(), 0);  // gas only: the poll reads register 2 alone
        bench.Device().SetRegister(2, 100);
        for (const char* field : {"1082", "1087"})
            gastest::EditOf(page.get(), field)->setText("9.99");
        bench.Forget();
        if (c.silent) bench.Line().SetFault(sim::Fault::Silence, c.silent);
        if (c.poll)
            page->Poll();
        else
            Click(page.get(), "1085");
        EXPECT_EQ(TextOf(page.get(), "1082"), c.ppm);
        EXPECT_EQ(TextOf(page.get(), "1087"), c.mg);
        EXPECT_EQ(bench.Requests(), (std::vector<Request>{{kRead, 2, 1}, {kRead, 2, 1}}));
        ASSERT_EQ(bench.Boxes().Boxes().size(), static_cast<std::size_t>(c.boxes))
            << bench.Boxes().Texts().toStdString();
        for (const ui::BoxRequest& box : bench.Boxes().Boxes()) EXPECT_EQ(box.text, "读取格式错误");
    }
}

TEST(GasPages, Co2LowerLimitQueryFailsWithoutABox) {
    Bench bench;
    auto page = bench.Gas(" CO2 ");
    gastest::EditOf(page.get(), "1075")->setText("400");
    bench.Line().SetFault(sim::Fault::BadCrc);
    Click(page.get(), "1076");
    EXPECT_EQ(TextOf(page.get(), "1075"), "");
    EXPECT_TRUE(bench.Boxes().Boxes().empty());
    Click(page.get(), "1074");  // the upper limit does report
    const ui::BoxRequest box = bench.Boxes().Only();
    EXPECT_EQ(box.text, "设备校验值错误");
    EXPECT_EQ(box.caption, "警告");
}

TEST(GasPages, RealtimeDisablesThePolledQueriesAndTheType) {
    Bench bench;
    auto page = bench.Gas(" CO2 ");
    page->RealtimeBox()->click();
    ASSERT_TRUE(page->RealtimeChecked());
    for (const char* off : {"1051", "1052", "1054"})
        EXPECT_FALSE(testsupport::Find<QPushButton>(page.get(), off)->isEnabled()) << off;
    EXPECT_FALSE(page->SensorType()->isEnabled());
    for (const char* on : {"1056", "1061", "1101", "1102"})
        EXPECT_TRUE(testsupport::Find<QPushButton>(page.get(), on)->isEnabled()) << on;
}

}  // namespace
