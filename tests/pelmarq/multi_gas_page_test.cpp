// The eighteen-element monitor: single queries, the one-request block poll, calibrations.
#include <QCheckBox>

#include "gas_test_bench.h"

using gastest::Bench;
using gastest::Click;
using gastest::Request;
using gastest::TextOf;

namespace {

struct Value {
    const char* caption = "";
    std::uint16_t reg = 0;
    std::uint16_t raw = 0;
    const char* shown = "";
};

// One value per element. Concentrations read unsigned (40000 ppm CO2 is 40000), temperature
// and humidity signed; a query and the poll show the same text.
const Value kValues[] = {
    {"PM2.5", 0, 35, "35"},
    {"PM10", 1, 60000, "60000"},
    {"湿度", 2, 0xFFF6, "-1.0"},
    {"温度", 3, 0xFF9C, "-10.0"},
    {"大气压力", 4, 1013, "101.3"},
    {"TVOC", 7, 320, "320"},
    {"CO2", 8, 40000, "40000"},
    {"甲醛", 9, 8, "0.08"},
    {"O3", 10, 0x8000, "327.68"},
    {"O2", 11, 209, "20.9"},
    {"H2S", 12, 3, "3"},
    {"甲烷", 13, 25, "25"},
    {"CO", 14, 2, "2"},
    {"NO2", 15, 33000, "3300.0"},
    {"SO2", 16, 2, "0.2"},
    {"H2", 17, 0, "0"},
    {"NH3", 18, 65535, "65535"},
};

void Load(Bench& bench) {
    for (const Value& v : kValues) bench.Device().SetRegister(v.reg, v.raw);
    bench.Device().SetRegister(5, 0x0002);  // illuminance 131072
    bench.Device().SetRegister(6, 0x0000);
}

TEST(MultiGasPage, QueriesAndPollShowTheSameTexts) {
    Bench bench(9600);
    auto page = bench.Gas(" QX40");
    Load(bench);
    bench.Forget();
    for (const Value& v : kValues) {
        SCOPED_TRACE(v.caption);
        Click(page.get(), QString::fromUtf8(v.caption) + ":query");
        EXPECT_EQ(TextOf(page.get(), QString::fromUtf8(v.caption) + ":edit"), v.shown);
        EXPECT_EQ(bench.Requests(), (std::vector<Request>{{3, v.reg, 1}}));
    }
    Click(page.get(), "光照度:query");
    EXPECT_EQ(TextOf(page.get(), "光照度:edit"), "131072");
    EXPECT_EQ(bench.Requests(), (std::vector<Request>{{3, 5, 2}}));

    for (const Value& v : kValues)
        gastest::EditOf(page.get(), QString::fromUtf8(v.caption) + ":edit")->clear();
    page->Poll();
    EXPECT_EQ(bench.Requests(), (std::vector<Request>{{3, 0, 19}}));  // one request
    for (const Value& v : kValues)
        EXPECT_EQ(TextOf(page.get(), QString::fromUtf8(v.caption) + ":edit"), v.shown) << v.caption;
    EXPECT_EQ(TextOf(page.get(), "光照度:edit"), "131072");
    EXPECT_TRUE(bench.Boxes().Boxes().empty()) << bench.Boxes().Texts().toStdString();
}

// A poll that fails, however it fails, leaves no earlier reading on screen and says nothing.
TEST(MultiGasPage, AFailedPollEmptiesEveryMeasuredField) {
    Bench bench(9600);
    auto page = bench.Gas(" QX40");
    Load(bench);
    for (sim::Fault fault : {sim::Fault::Silence, sim::Fault::BadCrc, sim::Fault::WrongAddress,
                             sim::Fault::Truncate}) {
        page->Poll();
        ASSERT_EQ(TextOf(page.get(), "CO2:edit"), "40000");
        bench.Line().SetFault(fault, 1);
        page->Poll();
        for (const Value& v : kValues)
            EXPECT_EQ(TextOf(page.get(), QString::fromUtf8(v.caption) + ":edit"), "") << v.caption;
        EXPECT_EQ(TextOf(page.get(), "光照度:edit"), "");
    }
    EXPECT_TRUE(bench.Boxes().Boxes().empty()) << bench.Boxes().Texts().toStdString();
}

struct Calibration {
    const char* caption = "";
    std::uint16_t reg = 0;
    const char* entry = "";
    std::uint16_t sent = 0;
    const char* readBack = "";
};

const Calibration kCalibrations[] = {
    {"PM2.5校准", 80, "-5", 0xFFFB, "-5"}, {"湿度校准", 82, "-0.5", 0xFFFB, "-0.5"},
    {"光照校准", 86, "100", 100, "100"},   {"甲醛校准", 89, "0.07", 7, "0.07"},
    {"O3校准", 90, "0.07", 7, "0.07"},     {"SO2校准", 96, "1.25", 12, "1.2"},
    {"NH3校准", 98, "-0.9", 0, "0"},
};

TEST(MultiGasPage, CalibrationsWriteAndReadTheirRegister) {
    Bench bench(9600);
    auto page = bench.Gas(" QX40");
    for (const Calibration& c : kCalibrations) {
        SCOPED_TRACE(c.caption);
        const QString name = QString::fromUtf8(c.caption);
        gastest::EditOf(page.get(), name + ":edit")->setText(c.entry);
        bench.Forget();
        Click(page.get(), name + ":set");
        EXPECT_EQ(bench.Requests(), (std::vector<Request>{{6, c.reg, c.sent}}));
        EXPECT_EQ(bench.Boxes().Only().icon, ui::BoxIcon::Information);
        Click(page.get(), name + ":query");
        EXPECT_EQ(TextOf(page.get(), name + ":edit"), c.readBack);
    }
}

TEST(MultiGasPage, RealtimeDisablesEveryButton) {
    Bench bench(9600);
    auto page = bench.Gas(" QX40");
    page->RealtimeBox()->click();
    ASSERT_TRUE(page->RealtimeChecked());
    const auto buttons = page->findChildren<QPushButton*>();
    EXPECT_EQ(buttons.size(), 18 + 2 * 18);
    for (QPushButton* b : buttons) EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
}

}  // namespace
