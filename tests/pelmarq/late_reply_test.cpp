// A reply that comes late never shows up as another field's value: the device answers the
// first read of a poll late and ignores the requests that arrive meanwhile; the second read
// follows on the same link.
#include "page_rig.h"
#include "temp_humidity_pages.h"

namespace pagetest {
namespace {

TEST(LateReply, APolledPageShowsEachFieldItsOwnRegisterOrNothing) {
    // Temperature (register 1) is polled first, humidity (register 0) second.
    PageRig rig({{0, 553}, {1, 236}});
    auto* page = qobject_cast<pages::DevicePage*>(
        rig.Page([](transport::SerialLink& link, QWidget* parent) -> QWidget* {
            return new pages::TempHumidityPage(link, parent);
        }));
    ASSERT_NE(page, nullptr);
    const struct {
        int lateMs;
        const char* temperature;  // what the late field shows: within the 500 ms wait or not
    } rows[] = {{100, "23.6"}, {300, "23.6"}, {450, "23.6"}, {550, ""}, {650, ""}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.lateMs);
        rig.line.ClearReceived();
        rig.Edit("1014")->setText("old");
        rig.Edit("1012")->setText("old");
        rig.line.SetFault(sim::Fault::Late, 1, row.lateMs);
        page->Poll();
        EXPECT_EQ(rig.Text("1014").toStdString(), row.temperature);
        EXPECT_EQ(rig.Text("1012").toStdString(), "55.3");
        EXPECT_EQ(rig.line.Received(),
                  (std::vector<sim::Bytes>{PageRig::Read(1), PageRig::Read(0)}));
    }
    EXPECT_TRUE(rig.boxes.Boxes().empty()) << rig.boxes.Texts().toStdString();
}

}  // namespace
}  // namespace pagetest
