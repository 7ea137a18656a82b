// Light pages against a simulated illuminance transmitter: what each query sends and shows,
// the 32-bit illuminance at its limits, and the poll's order and failures.
#include "light_pages.h"

#include "page_rig.h"

namespace pagetest {
namespace {

using pages::MakeTable;

struct LightCase {
    const char* what;
    pages::PageFactory make;
    const char* query;
    const char* edit;
    sim::RegisterMap device;
    sim::Bytes request;
    const char* shown;
};

TEST(LightPages, QueryShowsTheRegisterAsThePageReadsIt) {
    const auto P1 = MakeTable<pages::LightSpec>;
    const auto P2 = MakeTable<pages::LightHighRangeSpec>;
    const auto P3 = MakeTable<pages::LightTempHumiditySpec>;
    const auto P4 = MakeTable<pages::LightHighRangeTempHumiditySpec>;
    const LightCase cases[] = {
        {"6W lux unsigned", P1, "1042", "1041", {{6, 65535}}, PageRig::Read(6), "65535"},
        {"20W lux 32-bit",
         P2,
         "1046",
         "1044",
         {{2, 1}, {3, 0x86A0}},
         PageRig::Read(2, 2),
         "100000"},
        {"20W lux 32-bit top",
         P2,
         "1046",
         "1044",
         {{2, 0xFFFF}, {3, 0xFFFF}},
         PageRig::Read(2, 2),
         "4294967295"},
        {"20W hundreds of lux", P2, "1047", "1045", {{6, 1000}}, PageRig::Read(6), "1000"},
        {"6W+TH temperature signed", P3, "1032", "1031", {{1, 0xFF9C}}, PageRig::Read(1), "-10.0"},
        {"6W+TH humidity", P3, "1013", "1012", {{0, 553}}, PageRig::Read(0), "55.3"},
        {"6W+TH lux", P3, "1015", "1014", {{6, 40000}}, PageRig::Read(6), "40000"},
        {"20W+TH lux",
         P4,
         "1039",
         "1036",
         {{2, 0x0003}, {3, 0x0D40}},
         PageRig::Read(2, 2),
         "200000"},
        {"20W+TH hundreds", P4, "1017", "1016", {{6, 2000}}, PageRig::Read(6), "2000"},
    };
    for (const LightCase& c : cases) {
        SCOPED_TRACE(c.what);
        PageRig rig(c.device);
        rig.Page(c.make);
        ASSERT_TRUE(rig.Click(c.query));
        EXPECT_EQ(rig.Text(c.edit), QString::fromUtf8(c.shown));
        rig.ExpectQuiet(c.request);
    }
}

// Four exchanges in the order temperature, humidity, lux, hundreds of lux; a register the
// device refuses empties only its own field, silently.
TEST(LightPages, PollReadsInOrderAndEmptiesOnlyWhatFailed) {
    PageRig rig({{0, 553}, {1, 236}, {2, 1}, {3, 0x86A0}});  // no register 6
    auto* page =
        static_cast<pages::DevicePage*>(rig.Page(MakeTable<pages::LightHighRangeTempHumiditySpec>));
    rig.Edit("1016")->setText("stale");
    page->Poll();
    EXPECT_EQ(rig.line.Received(),
              (std::vector<sim::Bytes>{PageRig::Read(1), PageRig::Read(0), PageRig::Read(2, 2),
                                       PageRig::Read(6)}));
    EXPECT_EQ(rig.Text("1034"), "23.6");
    EXPECT_EQ(rig.Text("1035"), "55.3");
    EXPECT_EQ(rig.Text("1036"), "100000");
    EXPECT_EQ(rig.Text("1016"), "");
    EXPECT_TRUE(rig.boxes.Boxes().empty());
}

}  // namespace
}  // namespace pagetest
