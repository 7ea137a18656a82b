// Weather, dust and current collector pages against simulated devices: what each query
// shows, what each set writes, the UV sensor type, the louver poll, the evaporation weight
// and the polls that must not keep an old reading.
#include "weather_pages.h"

#include <QComboBox>

#include "dust_current_pages.h"
#include "evaporation_page.h"
#include "page_rig.h"

namespace pagetest {
namespace {

using pages::Make;
using pages::MakeTable;

pages::DevicePage* AsPage(QWidget* w) {
    return static_cast<pages::DevicePage*>(w);
}

struct ReadCase {
    const char* what;
    pages::PageFactory make;
    const char* row;
    sim::RegisterMap device;
    sim::Bytes request;
    const char* shown;
};

TEST(WeatherPages, QueryShowsEachValue) {
    const ReadCase cases[] = {
        {"noise", MakeTable<pages::NoiseSpec>, "当前噪声", {{0, 452}}, PageRig::Read(0), "45.2"},
        {"pressure",
         MakeTable<pages::PressureSpec>,
         "气压",
         {{0, 1013}},
         PageRig::Read(0),
         "101.3"},
        {"louver illuminance",
         MakeTable<pages::LouverCo2Spec>,
         "光照度",
         {{506, 1}, {507, 0x86A0}},
         PageRig::Read(506, 2),
         "100000"},
        {"louver temperature",
         MakeTable<pages::LouverPmSpec>,
         "温度值",
         {{501, 0xFF9C}},
         PageRig::Read(501),
         "-10.0"},
        {"louver PM10",
         MakeTable<pages::LouverPmSpec>,
         "PM10",
         {{504, 58}},
         PageRig::Read(504),
         "58"},
        {"radiation unsigned",
         MakeTable<pages::RadiationSpec>,
         "辐射值",
         {{0, 40000}},
         PageRig::Read(0),
         "40000"},
        {"UV intensity", pages::MakeUvPage, "紫外线强度", {{2, 312}}, PageRig::Read(2), "3.12"},
        {"rain/snow alarm",
         MakeTable<pages::RainSnowSpec>,
         "雨雪状态",
         {{0, 1}},
         PageRig::Read(0),
         "警告"},
        {"rain/snow other",
         MakeTable<pages::RainSnowSpec>,
         "雨雪状态",
         {{0, 2}},
         PageRig::Read(0),
         "err"},
        {"air quality",
         MakeTable<pages::AirQualitySpec>,
         "PM10",
         {{1, 62}},
         PageRig::Read(1),
         "62"},
        {"dust TSP unsigned",
         MakeTable<pages::DustSpec>,
         "TSP",
         {{0, 0xFFFF}},
         PageRig::Read(0),
         "65535"},
        {"dust coefficient",
         MakeTable<pages::DustSpec>,
         "PM2.5系数B",
         {{114, 0x3F80}, {115, 0}},
         PageRig::Read(114, 2),
         "1.000000"},
        {"fan current",
         MakeTable<pages::CurrentCollectorSpec>,
         "风机电流值",
         {{2, 1234}},
         PageRig::Read(2),
         "12.34"},
        {"fan state raw",
         MakeTable<pages::CurrentCollectorSpec>,
         "风机状态",
         {{0, 7}},
         PageRig::Read(0),
         "7"},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        PageRig rig(c.device);
        rig.Page(c.make);
        EXPECT_EQ(rig.Query(c.row), QString::fromUtf8(c.shown));
        rig.ExpectQuiet(c.request);
    }
}

TEST(WeatherPages, SetsWriteTheEntry) {
    struct Case {
        const char* what;
        pages::PageFactory make;
        const char* row;
        const char* entry;
        sim::Bytes request;  // nothing: the entry is refused with `refused`
        ui::BoxIcon success;
        const char* refused = nullptr;
    };
    const auto info = ui::BoxIcon::Information;
    const auto warning = ui::BoxIcon::Warning;
    // clang-format off
    const Case cases[] = {
        {"UV deviation x10", pages::MakeUvPage, "温度偏差", "-0.5", PageRig::Write(81, 0xFFFB), info},
        {"radiation deviation", MakeTable<pages::RadiationSpec>, "偏差值", "65535", PageRig::Write(82, 0xFFFF), info},
        {"radiation deviation beyond 16 bits", MakeTable<pages::RadiationSpec>, "偏差值", "70000", {}, info, "数值超出范围"},
        {"rain/snow delay", MakeTable<pages::RainSnowSpec>, "当前报警复归延时", "30", PageRig::Write(51, 30), info},
        {"threshold x100", MakeTable<pages::CurrentCollectorSpec>, "风机电流门槛值", "0.5", PageRig::Write(91, 50), info},
        // Once 4464 went out.
        {"threshold x100 beyond 16 bits", MakeTable<pages::CurrentCollectorSpec>, "风机电流门槛值", "700", {}, info, "数值超出范围"},
        {"calibration negative", MakeTable<pages::CurrentCollectorSpec>, "净化器电流校准值", "-0.05", PageRig::Write(86, 0xFFFB), info},
        {"dust float", MakeTable<pages::DustSpec>, "TSP系数A", "0.95", PageRig::WritePair(96, 0x3F733333), warning},
        {"dust empty float", MakeTable<pages::DustSpec>, "PM10系数B", "", {}, warning, "请输入数字"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PageRig rig(sim::RegisterMap{
            {51, 0}, {81, 0}, {82, 0}, {86, 0}, {91, 0}, {96, 0}, {97, 0}, {130, 0}, {131, 0}});
        rig.Page(c.make);
        ASSERT_TRUE(rig.Set(c.row, c.entry));
        if (c.refused)
            rig.ExpectRefused(c.refused);
        else
            rig.ExpectWritten(c.request, c.success);
    }
}

TEST(UvPage, SensorTypeWithoutTemperatureBlanksItAndThePollSkipsIt) {
    PageRig rig({{0, 566}, {1, 243}, {2, 312}, {3, 6}});
    auto* page = AsPage(rig.Page(pages::MakeUvPage));
    EXPECT_EQ(page->SensorType()->currentText(), "紫外线温湿度一体");
    page->Poll();
    EXPECT_EQ(rig.line.Received(), (std::vector<sim::Bytes>{PageRig::Read(1), PageRig::Read(0),
                                                            PageRig::Read(2), PageRig::Read(3)}));
    EXPECT_EQ(rig.Text("温度:edit"), "24.3");

    page->SensorType()->setCurrentIndex(0);
    emit page->SensorType()->activated(0);
    for (const char* row : {"温度", "湿度", "温度偏差", "湿度偏差"}) {
        EXPECT_EQ(rig.Text(QString::fromUtf8(row) + ":edit"), " ") << row;
        EXPECT_FALSE(rig.Edit(QString::fromUtf8(row) + ":edit")->isEnabled()) << row;
    }
    EXPECT_FALSE(Find<QPushButton>(page, "温度偏差:set")->isEnabled());
    EXPECT_TRUE(rig.line.Received().size() == 4u);  // choosing a type sends nothing
    rig.line.ClearReceived();
    page->Poll();
    EXPECT_EQ(rig.line.Received(), (std::vector<sim::Bytes>{PageRig::Read(2), PageRig::Read(3)}));
}

TEST(LouverPages, PollReadsTheLiveValuesInOrder) {
    sim::RegisterMap device;
    for (std::uint16_t r = 500; r <= 507; ++r) device[r] = 1;
    PageRig rig(device);
    AsPage(rig.Page(MakeTable<pages::LouverPmSpec>))->Poll();
    EXPECT_EQ(rig.line.Received(),
              (std::vector<sim::Bytes>{PageRig::Read(501), PageRig::Read(500), PageRig::Read(502),
                                       PageRig::Read(503), PageRig::Read(504), PageRig::Read(505),
                                       PageRig::Read(506, 2)}));
    EXPECT_FALSE(
        Find<QLineEdit>(rig.page.get(), "PM2.5与PM10显示位置:edit")->isVisibleTo(rig.page.get()));
}

// Both louver boxes have the PM display position row, named and never shown; on the CO2 box
// its buttons do nothing, on the PM box they read and write register 2100.
TEST(LouverPages, DisplayPositionRowIsHiddenAndInertOnTheCo2Box) {
    const struct {
        const char* name;
        pages::PageFactory make;
        std::vector<sim::Bytes> sent;
        QString boxes;
    } cases[] = {
        {"CO2 box", MakeTable<pages::LouverCo2Spec>, {}, ""},
        {"PM box",
         MakeTable<pages::LouverPmSpec>,
         {PageRig::Read(2100), PageRig::Write(2100, 2)},
         ": 写入成功"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PageRig rig(sim::RegisterMap{{2100, 1}});
        QWidget* page = rig.Page(c.make);
        for (const char* role : {"edit", "query", "set"}) {
            auto* control = Find<QWidget>(page, PageRig::Named("PM2.5与PM10显示位置", role));
            ASSERT_NE(control, nullptr) << role;
            EXPECT_FALSE(control->isVisibleTo(page)) << role;
        }
        ASSERT_TRUE(rig.Click("PM2.5与PM10显示位置:query"));
        ASSERT_TRUE(rig.Set("PM2.5与PM10显示位置", "2"));
        EXPECT_EQ(rig.line.Received(), c.sent);
        EXPECT_EQ(rig.boxes.Texts(), c.boxes);
    }
}

// The weight is signed in query and poll alike (below zero after zeroing, as water
// evaporates); a failed read leaves neither field behind.
TEST(EvaporationPage, WeightAndHeight) {
    const std::tuple<std::uint16_t, const char*, const char*> cases[] = {
        {3142, "3142", "10.00"}, {0xFFF6, "-10", "-0.03"}, {0x8000, "-32768", "-104.30"}};
    for (const auto& [raw, weight, height] : cases) {
        SCOPED_TRACE(weight);
        PageRig rig(sim::RegisterMap{{0, raw}});
        auto* page = AsPage(rig.Page(Make<pages::EvaporationPage>));
        ASSERT_TRUE(rig.Click("重量:query"));
        EXPECT_EQ(rig.Text("重量:edit"), weight);
        EXPECT_EQ(rig.Text("当前水面高度:edit"), height);
        rig.Edit("重量:edit")->clear();
        rig.Edit("当前水面高度:edit")->clear();
        page->Poll();
        EXPECT_EQ(rig.Text("重量:edit"), weight);
        EXPECT_EQ(rig.Text("当前水面高度:edit"), height);

        rig.line.SetFault(sim::Fault::Silence);
        ASSERT_TRUE(rig.Click("重量:query"));
        EXPECT_EQ(rig.Text("当前水面高度:edit"), "");
        EXPECT_EQ(rig.boxes.Only().text, "读取格式错误");
    }
}

TEST(EvaporationPage, ZeroingWritesOne) {
    PageRig rig({{0, 5}, {80, 0}});
    rig.Page(Make<pages::EvaporationPage>);
    ASSERT_TRUE(rig.Click("清零操作:set"));
    EXPECT_EQ(rig.line.Received(), std::vector<sim::Bytes>{PageRig::Write(80, 1)});
    EXPECT_EQ(rig.boxes.Only().text, "写入成功");
}

// A button read that fails keeps the dust reading (its box says so); a poll that fails
// never leaves it standing as if live.
TEST(DustPage, FailedPollEmptiesFailedQueryKeeps) {
    PageRig rig({{0, 182}, {1, 35}, {2, 71}});
    auto* page = AsPage(rig.Page(MakeTable<pages::DustSpec>));
    page->Poll();
    EXPECT_EQ(rig.Text("TSP:edit"), "182");
    rig.line.SetFault(sim::Fault::Silence);
    ASSERT_TRUE(rig.Click("TSP:query"));
    EXPECT_EQ(rig.Text("TSP:edit"), "182");
    EXPECT_EQ(rig.boxes.Only().text, "读取格式错误");
    page->Poll();
    EXPECT_EQ(rig.Text("TSP:edit"), "");
    EXPECT_EQ(rig.Text("PM10:edit"), "");
}

// The collector's box only switches polling: no port check, nothing disabled.
TEST(CurrentCollectorPage, RealtimeWithClosedPortPollsEmptyWithoutABox) {
    PageRig rig(sim::RegisterMap{{0, 1}});
    auto* page = AsPage(rig.Page(MakeTable<pages::CurrentCollectorSpec>));
    rig.Edit("风机状态:edit")->setText("1");
    rig.link.Port().Close();
    page->RealtimeBox()->click();
    EXPECT_TRUE(page->RealtimeChecked());
    for (QPushButton* b : page->findChildren<QPushButton*>()) EXPECT_TRUE(b->isEnabled());
    page->Poll();
    EXPECT_EQ(rig.Text("风机状态:edit"), "");
    EXPECT_TRUE(rig.boxes.Boxes().empty());
}

}  // namespace
}  // namespace pagetest
