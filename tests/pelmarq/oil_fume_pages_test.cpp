// The oil fume sensor (gas category) and the three-channel oil fume monitor end to end.
#include <QCheckBox>

#include "gas_test_bench.h"
#include "oil_fume_page.h"
#include "oil_fume_sensor_page.h"

using gastest::Bench;
using gastest::Click;
using gastest::Request;
using gastest::TextOf;

namespace {

struct ReadCase {
    bool monitor = false;  // the "485油烟" page, else the gas category's "油烟"
    const char* caption = "";
    std::uint16_t reg = 0;
    std::vector<std::uint16_t> words = {};
    const char* shown = "";
};

const ReadCase kReads[] = {
    {false, "油烟值", 0, {125}, "1.25"},
    {false, "油烟值", 0, {0xFFFE}, "-0.02"},
    {false, "校准值", 80, {0xFFCE}, "-0.50"},
    {false, "系数值", 512, {0x3F80, 0x0000}, "1.000000"},
    {true, "油烟", 0, {125}, "1.25"},
    {true, "非甲烷总烃", 1, {310}, "3.10"},
    {true, "颗粒物", 2, {0xFFFE}, "-0.02"},
    {true, "版本号", 10, {0x0103}, "1.3"},
    {true, "版本号", 10, {0x0A0F}, "10.15"},
    {true, "油烟系数A", 16, {0x3F73, 0x3333}, "0.950000"},
    {true, "油烟系数B", 18, {0xBCA3, 0xD70A}, "-0.020000"},
    {true, "非甲烷总烃系数B", 22, {0x4120, 0}, "10.000000"},
    {true, "颗粒物系数B", 26, {0, 0}, "0.000000"},
};

std::unique_ptr<pages::DevicePage> PageOf(Bench& bench, bool monitor) {
    return monitor ? bench.Page("油烟系类", "485油烟") : bench.Gas("油烟");
}

TEST(OilFumePages, QueriesShowTheirRegisters) {
    Bench bench(9600);
    for (const ReadCase& c : kReads) {
        SCOPED_TRACE(c.caption);
        auto page = PageOf(bench, c.monitor);
        for (std::size_t i = 0; i < c.words.size(); ++i)
            bench.Device().SetRegister(static_cast<std::uint16_t>(c.reg + i), c.words[i]);
        bench.Forget();
        Click(page.get(), QString::fromUtf8(c.caption) + ":query");
        EXPECT_EQ(TextOf(page.get(), QString::fromUtf8(c.caption) + ":edit"), c.shown);
        const auto count = static_cast<std::uint16_t>(c.words.size());
        EXPECT_EQ(bench.Requests(), (std::vector<Request>{{3, c.reg, count}}));
        EXPECT_TRUE(bench.Boxes().Boxes().empty()) << bench.Boxes().Texts().toStdString();
    }
}

TEST(OilFumePages, FloatCoefficientsGoOutAsOneBlockWrite) {
    Bench bench(9600);
    auto page = PageOf(bench, true);
    gastest::EditOf(page.get(), "油烟系数A:edit")->setText("0.95");
    bench.Forget();
    Click(page.get(), "油烟系数A:set");
    const std::vector<sim::Bytes> sent = bench.Line().Received();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sim::Bytes(sent[0].begin(), sent[0].end() - 2),
              (sim::Bytes{0x01, 0x10, 0x00, 0x10, 0x00, 0x02, 0x04, 0x3F, 0x73, 0x33, 0x33}));
    EXPECT_EQ(bench.Device().Register(0x10), 0x3F73);
    EXPECT_EQ(bench.Device().Register(0x11), 0x3333);
    // A float write reports its success with the warning icon.
    ui::BoxRequest box = bench.Boxes().Only();
    EXPECT_EQ(box.text, "写入成功");
    EXPECT_EQ(box.caption, "");
    EXPECT_EQ(box.icon, ui::BoxIcon::Warning);

    auto sensor = PageOf(bench, false);
    gastest::EditOf(sensor.get(), "系数值:edit")->setText("-1.5");
    bench.Forget();
    Click(sensor.get(), "系数值:set");
    EXPECT_EQ(bench.Requests(), (std::vector<Request>{{0x10, 0x200, 2}}));
    EXPECT_EQ(bench.Device().Register(0x200), 0xBFC0);

    // The calibration is a 16-bit hundredths write with the information icon.
    gastest::EditOf(sensor.get(), "校准值:edit")->setText("0.5");
    bench.Forget();
    Click(sensor.get(), "校准值:set");
    EXPECT_EQ(bench.Requests(), (std::vector<Request>{{6, 80, 50}}));
    box = bench.Boxes().Only();
    EXPECT_EQ(box.icon, ui::BoxIcon::Information);
}

TEST(OilFumePages, MonitorPollsOilFumeThenParticulatesThenHydrocarbons) {
    Bench bench(9600);
    auto page = PageOf(bench, true);
    bench.Device().SetRegister(0, 125);
    bench.Device().SetRegister(1, 310);
    bench.Device().SetRegister(2, 80);
    bench.Forget();
    page->Poll();
    EXPECT_EQ(bench.Requests(), (std::vector<Request>{{3, 0, 1}, {3, 2, 1}, {3, 1, 1}}));
    EXPECT_EQ(TextOf(page.get(), "油烟:edit"), "1.25");
    EXPECT_EQ(TextOf(page.get(), "非甲烷总烃:edit"), "3.10");
    EXPECT_EQ(TextOf(page.get(), "颗粒物:edit"), "0.80");
    EXPECT_TRUE(bench.Boxes().Boxes().empty());
}

// The monitor's box only switches polling: no port check, nothing disabled, and a poll on a
// closed port empties the three readings without a word.
TEST(OilFumePages, MonitorRealtimeBoxHasNoActionOfItsOwn) {
    testsupport::BoxRecorder boxes;
    transport::SerialLink closed;
    pages::OilFumePage page(closed);
    for (const char* field : {"油烟:edit", "非甲烷总烃:edit", "颗粒物:edit"})
        gastest::EditOf(&page, field)->setText("9.99");
    page.RealtimeBox()->click();
    EXPECT_TRUE(page.RealtimeChecked());
    EXPECT_TRUE(testsupport::Find<QPushButton>(&page, "油烟:query")->isEnabled());
    page.Poll();
    for (const char* field : {"油烟:edit", "非甲烷总烃:edit", "颗粒物:edit"})
        EXPECT_EQ(TextOf(&page, field), "") << field;
    EXPECT_TRUE(boxes.Boxes().empty()) << boxes.Texts().toStdString();

    // The sensor's box is the common one.
    pages::OilFumeSensorPage sensor(closed);
    sensor.RealtimeBox()->click();
    EXPECT_FALSE(sensor.RealtimeChecked());
    EXPECT_EQ(boxes.Only().text, "请先打开串口");
    Bench bench(9600);
    auto open = PageOf(bench, false);
    open->RealtimeBox()->click();
    EXPECT_FALSE(testsupport::Find<QPushButton>(open.get(), "油烟值:query")->isEnabled());
    EXPECT_TRUE(testsupport::Find<QPushButton>(open.get(), "系数值:query")->isEnabled());
    EXPECT_TRUE(testsupport::Find<QPushButton>(open.get(), "校准值:set")->isEnabled());
}

}  // namespace
