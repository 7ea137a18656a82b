// The water gauge page against a simulated gauge: numbers, texts and combos from the
// registers, the sets (a combo without a selection writes nothing), the tilt float, the
// block poll and its failures, the hidden analog group.
#include "water_gauge_page.h"

#include <QComboBox>

#include "page_rig.h"

namespace pagetest {
namespace {

using pages::Make;

pages::DevicePage* Gauge(PageRig& rig) {
    return static_cast<pages::DevicePage*>(rig.Page(Make<pages::WaterGaugePage>));
}

QComboBox* Combo(PageRig& rig, const char* row) {
    return Find<QComboBox>(rig.page.get(), PageRig::Named(row, "combo"));
}

TEST(WaterGaugePage, QueryShowsEachField) {
    struct Case {
        const char* row;
        sim::RegisterMap device;
        sim::Bytes request;
        const char* shown;
    };
    const Case cases[] = {
        {"水位值", {{0, 65535}}, PageRig::Read(0), "65535"},
        {"水温", {{1, 0xFFF6}}, PageRig::Read(1), "-1.0"},
        {"水温", {{1, 0x00FB}}, PageRig::Read(1), "25.1"},
        {"水浸状态", {{2, 0}}, PageRig::Read(2), "无水"},
        {"水浸状态", {{2, 1}}, PageRig::Read(2), "有水"},
        {"水浸状态", {{2, 2}}, PageRig::Read(2), "err"},
        // Shown unsigned like the limits beside it.
        {"控制回差", {{103, 0x8000}}, PageRig::Read(103), "32768"},
        {"控制回差", {{103, 0xFFFF}}, PageRig::Read(103), "65535"},
        {"倾斜角度", {{106, 0x3FC0}, {107, 0}}, PageRig::Read(106, 2), "1.50"},
        {"量程下限", {{111, 20}}, PageRig::Read(111), "20"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.row) + " " + c.shown);
        PageRig rig(c.device);
        Gauge(rig);
        EXPECT_EQ(rig.Query(c.row), QString::fromUtf8(c.shown));
        rig.ExpectQuiet(c.request);
    }
}

TEST(WaterGaugePage, CombosSelectTheDeviceValueOrNothing) {
    struct Case {
        const char* row;
        std::uint16_t reg;
        std::uint16_t raw;
        int index;
    };
    const Case cases[] = {
        {"主机运行方案", 100, 2, 2},    {"主机运行方案", 100, 3, -1},
        {"继电器状态", 3, 1, 1},        {"上限关联继电器", 108, 0, 0},
        {"下限关联继电器", 109, 7, -1}, {"模拟量类型", 117, 1, 0},  // value = index + 1
        {"模拟量类型", 117, 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.row) + " " + std::to_string(c.raw));
        PageRig rig(sim::RegisterMap{{c.reg, c.raw}});
        Gauge(rig);
        EXPECT_EQ(Combo(rig, c.row)->currentIndex(), -1);  // no selection at start
        Combo(rig, c.row)->setCurrentIndex(1);
        ASSERT_TRUE(rig.Click(PageRig::Named(c.row, "query")));
        EXPECT_EQ(Combo(rig, c.row)->currentIndex(), c.index);
    }
}

TEST(WaterGaugePage, ComboSetWritesTheSelection) {
    PageRig rig({{100, 0}, {117, 1}});
    Gauge(rig);
    Combo(rig, "主机运行方案")->setCurrentIndex(2);
    ASSERT_TRUE(rig.Click("主机运行方案:set"));
    Combo(rig, "模拟量类型")->setCurrentIndex(2);
    ASSERT_TRUE(rig.Click("模拟量类型:set"));
    EXPECT_EQ(rig.line.Received(),
              (std::vector<sim::Bytes>{PageRig::Write(100, 2), PageRig::Write(117, 3)}));
    EXPECT_EQ(rig.boxes.Texts(), ": 写入成功 | : 写入成功");
}

// A combo without a selection has no value to write: the set is refused with a box and
// nothing goes on the wire (neither 0xFFFF nor 0).
TEST(WaterGaugePage, ComboSetWithoutSelectionWritesNothing) {
    for (const char* row :
         {"主机运行方案", "继电器状态", "上限关联继电器", "下限关联继电器", "模拟量类型"}) {
        SCOPED_TRACE(row);
        PageRig rig({{3, 0}, {100, 0}, {108, 0}, {109, 0}, {117, 1}});
        Gauge(rig);
        ASSERT_TRUE(rig.Click(PageRig::Named(row, "set")));
        EXPECT_TRUE(rig.line.Received().empty());
        EXPECT_EQ(rig.boxes.Only().caption, "警告");
        EXPECT_EQ(rig.boxes.Only().icon, ui::BoxIcon::Warning);
        EXPECT_EQ(rig.boxes.Only().text, "请先选择要设置的值，未写入设备");
    }
}

TEST(WaterGaugePage, NumericAndTiltSets) {
    struct Case {
        const char* row;
        const char* entry;
        sim::Bytes request;  // nothing: the entry is refused with `refused`
        ui::BoxIcon success;
        const char* refused = nullptr;
    };
    const auto info = ui::BoxIcon::Information;
    const Case cases[] = {
        {"水位上限", "150.9", PageRig::Write(101, 150), info},
        {"水位下限", "-1", {}, info, "数值超出范围"},
        {"控制回差", "abc", {}, info, "请输入数字"},
        {"倾斜角度", "1.5", PageRig::WritePair(106, 0x3FC00000), ui::BoxIcon::Warning},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.row) + " " + c.entry);
        PageRig rig({{101, 0}, {102, 0}, {103, 0}, {106, 0}, {107, 0}});
        Gauge(rig);
        ASSERT_TRUE(rig.Set(c.row, c.entry));
        if (c.refused)
            rig.ExpectRefused(c.refused);
        else
            rig.ExpectWritten(c.request, c.success);
    }
}

// One request for registers 0-2; anything but a complete reply empties the three fields.
TEST(WaterGaugePage, BlockPoll) {
    PageRig rig({{0, 120}, {1, 0xFFF6}, {2, 1}});
    auto* page = Gauge(rig);
    page->Poll();
    EXPECT_EQ(rig.line.Received(), std::vector<sim::Bytes>{PageRig::Read(0, 3)});
    EXPECT_EQ(rig.Text("水位值:edit"), "120");
    EXPECT_EQ(rig.Text("水温:edit"), "-1.0");
    EXPECT_EQ(rig.Text("水浸状态:edit"), "有水");

    struct Failure {
        const char* what;
        sim::Fault fault;
        int param;
    };
    const Failure failures[] = {
        {"silence", sim::Fault::Silence, 0},
        {"bad CRC", sim::Fault::BadCrc, 0},
        {"one register with a valid CRC", sim::Fault::ShortValid, 5},  // 03 02 xx xx + CRC
        {"wrong address", sim::Fault::WrongAddress, 0},
    };
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.what);
        page->Poll();
        ASSERT_EQ(rig.Text("水位值:edit"), "120");
        rig.line.SetFault(f.fault, 1, f.param);
        page->Poll();
        EXPECT_EQ(rig.Text("水位值:edit"), "");
        EXPECT_EQ(rig.Text("水温:edit"), "");
        EXPECT_EQ(rig.Text("水浸状态:edit"), "");
    }
    rig.link.Port().Close();
    page->Poll();
    EXPECT_EQ(rig.Text("水位值:edit"), "");
    EXPECT_TRUE(rig.boxes.Boxes().empty());
}

TEST(WaterGaugePage, RealtimeDisablesEveryButtonAndTheAnalogGroupStaysHidden) {
    PageRig rig;
    auto* page = Gauge(rig);
    for (const char* name : {"模拟量类型:combo", "量程上限:edit", "量程下限:set"})
        EXPECT_FALSE(Find<QWidget>(page, name)->isVisibleTo(page)) << name;
    page->RealtimeBox()->click();
    ASSERT_TRUE(page->RealtimeChecked());
    const auto buttons = page->findChildren<QPushButton*>();
    EXPECT_EQ(buttons.size(), 31);  // 17 queries, 14 sets (the hidden group's included)
    for (QPushButton* b : buttons) EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
}

}  // namespace
}  // namespace pagetest
