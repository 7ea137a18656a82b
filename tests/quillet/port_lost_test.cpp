// A pulled adapter, typed port paths and the progress of the long waits in Quillet's window,
// end to end over pseudo-terminals.
#include <QLabel>
#include <filesystem>

#include "port_selector.h"
#include "profiles.h"
#include "quillet_fixture.h"
#include "status_line_log.h"
#include "wireless_dialog.h"
#include "wireless_frames.h"

using namespace quillettest;
using testsupport::StatusLineLog;
using testsupport::TypePath;

namespace {

int OpenDescriptors() {
    int n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

class QuilletPortTest : public QuilletTest {
  protected:
    ui::PortSelector* Ports() const {
        return testsupport::Find<ui::PortSelector>(dialog_.get(), "1000");
    }
    QLabel* Status() const { return testsupport::Find<QLabel>(dialog_.get(), "status"); }
};

TEST_F(QuilletPortTest, TenPulledAdaptersAndTheWindowRecoversEachTime) {
    const sim::Profile* profile = sim::FindProfile("transmitter");
    ASSERT_NE(profile, nullptr);
    line_ = std::make_unique<sim::SimulatedLine>(profile->make({}));
    dialog_ = std::make_unique<quillet::TransmitterDialog>(
        std::vector<transport::PortEntry>{{line_->Path(), "", transport::PortAccess::Openable}});
    dialog_->show();
    int afterFirst = -1;
    for (int cycle = 0; cycle < 10; ++cycle) {
        SCOPED_TRACE(cycle);
        if (cycle > 0) {
            line_ = std::make_unique<sim::SimulatedLine>(profile->make({}));
            ASSERT_TRUE(line_->Ok());
            TypePath(Ports(), line_->Path());
            // Return only chose the port: nothing went out, no box.
            EXPECT_EQ(Ports()->SelectedPath(), line_->Path());
            EXPECT_TRUE(line_->Received().empty());
            EXPECT_TRUE(boxes_.Boxes().empty()) << boxes_.Texts().toStdString();
        }
        Click(1001);
        ASSERT_EQ(boxes_.Only().text, "设备地址：1  波特率：4800");
        EXPECT_EQ(Status()->text(), "");
        boxes_.Clear();
        Query(1005);
        EXPECT_FALSE(Text(1014).isEmpty());

        line_.reset();  // the adapter is pulled: its line hangs up under the program
        ASSERT_TRUE(testsupport::WaitFor([&] { return Status()->text() == "串口已断开"; }));
        Query(1005);
        EXPECT_EQ(Text(1014), "");
        EXPECT_EQ(Status()->text(), "串口已断开");
        EXPECT_TRUE(boxes_.Boxes().empty()) << boxes_.Texts().toStdString();
        Ports()->RefreshTick();  // no port open: the list is read again
        if (cycle == 0) afterFirst = OpenDescriptors();
    }
    EXPECT_EQ(OpenDescriptors(), afterFirst);
}

TEST_F(QuilletPortTest, TheScanShowsTheRateOfEachProbeBeforeItsWait) {
    Start(FrameDevice());
    line_->SetFault(sim::Fault::Silence);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
    {
        StatusLineLog log(Status(), *line_);
        Click(1001);
        EXPECT_EQ(log.Entries(), (std::vector<StatusLineLog::Entry>{
                                     {"正在测试 2400 波特率…", 0},
                                     {"正在测试 4800 波特率…", 1},
                                     {"正在测试 9600 波特率…", 2},
                                     {"正在测试 9600 波特率…", 3},
                                 }));
    }
    EXPECT_EQ(TakeSent().back(), Bytes({0xFF, 0x03, 0x02, 0x00, 0x00, 0x05, 0x91, 0xAF}));
    EXPECT_EQ(boxes_.Only().text, "测试结束 未知波特率");
    EXPECT_EQ(Status()->text(), "可点击“诊断”查看原因");
}

TEST_F(QuilletPortTest, EnteringAndLeavingConfigurationModeSayTheyAreWaiting) {
    StartFound(FrameDevice());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
    std::vector<StatusLineLog::Entry> painted;
    {
        StatusLineLog log(Status(), *line_);
        EXPECT_EQ(Inside<quillet::WirelessDialog>(1038, [](quillet::WirelessDialog*) {}), 1);
        for (const StatusLineLog::Entry& e : log.Entries())
            if (!e.text.isEmpty()) painted.push_back(e);
    }
    const std::vector<Bytes> sent = TakeSent();
    ASSERT_EQ(painted.size(), 2u);
    EXPECT_EQ(painted[0], (StatusLineLog::Entry{"正在进入配置模式…", 0}));
    EXPECT_EQ(painted[1].text, "正在退出配置模式…");
    // Each text was painted right before its own frame went out.
    ASSERT_LT(painted[1].requests, sent.size());
    EXPECT_EQ(sent[0], ToBytes(protocol::BuildEnterConfigMode()));
    EXPECT_EQ(sent[painted[1].requests], ToBytes(protocol::BuildExitConfigMode()));
    EXPECT_EQ(painted[1].requests + 1, sent.size());
    EXPECT_EQ(Status()->text(), "");
    EXPECT_TRUE(boxes_.Boxes().empty()) << boxes_.Texts().toStdString();
}

}  // namespace
