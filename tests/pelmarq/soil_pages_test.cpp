// Soil pages against simulated probes: scaling and sign of each value, the conductivity
// page's writes, its port check and its "自动" box.
#include "soil_pages.h"

#include "page_rig.h"

namespace pagetest {
namespace {

using pages::Make;
using pages::MakeTable;

struct ReadCase {
    const char* what;
    pages::PageFactory make;
    const char* row;  // control caption
    std::uint16_t reg;
    std::uint16_t raw;
    const char* shown;
};

TEST(SoilPages, QueryShowsEachValueScaledAndSignedAsTheProbeMeansIt) {
    using C = pages::SoilConductivityPage;
    const ReadCase cases[] = {
        {"3in1 moisture", MakeTable<pages::SoilThreeInOneSpec>, "含水率", 0, 3456, "34.56"},
        {"3in1 temperature", MakeTable<pages::SoilThreeInOneSpec>, "温度值", 1, 0xFF38, "-2.00"},
        {"3in1 conductivity", MakeTable<pages::SoilThreeInOneSpec>, "电导率", 2, 50000, "50000"},
        {"T/M temperature", MakeTable<pages::SoilTempMoistureSpec>, "温度值", 1, 0xFFF6, "-1.0"},
        {"moisture is register 1", MakeTable<pages::SoilMoistureSpec>, "含水率", 1, 2875, "28.75"},
        {"EC conductivity x1", Make<C>, "电导率", 2, 1200, "1200.0"},
        {"EC salinity signed", Make<C>, "盐度", 3, 40000, "-25536.0"},
        {"EC coefficient", Make<C>, "电导温度系数", 34, 40000, "40000"},
        {"EC temperature calibration", Make<C>, "温度校准值", 80, 0xFFF1, "-1.5"},
        {"EC conductivity calibration", Make<C>, "电导率校准值", 82, 65535, "65535"},
        {"EC standard value", Make<C>, "标准数值", 1003, 1413, "1413"},
        {"pH", MakeTable<pages::SoilPhSpec>, "PH值", 0, 68, "6.8"},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        PageRig rig(sim::RegisterMap{{c.reg, c.raw}});
        rig.Page(c.make);
        EXPECT_EQ(rig.Query(c.row), QString::fromUtf8(c.shown));
        rig.ExpectQuiet(PageRig::Read(c.reg));
    }
}

TEST(SoilConductivityPage, SetsWriteTheEntryAsEachFieldTakesIt) {
    struct Case {
        const char* row;
        const char* entry;
        std::uint16_t reg;
        std::uint16_t sent;
        const char* refused = nullptr;  // the box of an entry that cannot go out
    };
    const Case cases[] = {
        {"温度校准值", "-1.5", 80, 0xFFF1},
        {"含水率校准值", "4.35", 81, 43},
        {"电导率校准值", "12.7", 82, 12},
        {"电导率校准值", "-1", 82, 0, "数值超出范围"},  // once 65535 went out
        {"电导温度系数", "", 34, 0, "请输入数字"},
        {"盐度系数", "70000", 35, 0, "数值超出范围"},  // once 4464 went out
        {"TDS系数", "1.5", 36, 1},
        {"标准数值", "1413", 1003, 1413},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.row) + " " + c.entry);
        PageRig rig({{c.reg, 9999}});
        rig.Page(Make<pages::SoilConductivityPage>);
        ASSERT_TRUE(rig.Set(c.row, c.entry));
        if (c.refused) {
            rig.ExpectRefused(c.refused);
            EXPECT_EQ(rig.Reg(c.reg), 9999);
        } else {
            rig.ExpectWritten(PageRig::Write(c.reg, c.sent), ui::BoxIcon::Information);
        }
    }
}

// Coefficient and calibration reads ask for the port first and send nothing; the measured
// values report the closed port through the read box.
TEST(SoilConductivityPage, ClosedPort) {
    PageRig rig(sim::RegisterMap{{0, 1}});
    rig.Page(Make<pages::SoilConductivityPage>);
    rig.link.Port().Close();
    ASSERT_TRUE(rig.Click("盐度系数:query"));
    EXPECT_EQ(rig.boxes.Only().text, "请先打开串口");
    rig.boxes.Clear();
    ASSERT_TRUE(rig.Click("含水率:query"));
    EXPECT_EQ(rig.boxes.Only().text, "串口未打开");
    EXPECT_TRUE(rig.line.Received().empty());
}

TEST(SoilConductivityPage, AutoBoxLeavesOnlyTheStandardValueUsable) {
    PageRig rig;
    QWidget* page = rig.Page(Make<pages::SoilConductivityPage>);
    auto* box = Find<QCheckBox>(page, "自动");
    ASSERT_TRUE(box);
    box->click();
    ASSERT_TRUE(box->isChecked());
    for (QPushButton* b : page->findChildren<QPushButton*>()) {
        const bool standard = b->objectName().startsWith("标准数值");
        EXPECT_EQ(b->isEnabled(), standard) << b->objectName().toStdString();
    }
}

}  // namespace
}  // namespace pagetest
