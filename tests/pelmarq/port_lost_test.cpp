// A pulled adapter and the port selector in the main window: the status line, the scan's
// progress texts, typed paths and the refreshed port list, end to end over pseudo-terminals.
#include <QLabel>
#include <filesystem>

#include "pelmarq_fixture.h"
#include "port_selector.h"
#include "profiles.h"
#include "status_line_log.h"

using namespace pelmarqtest;
using testsupport::StatusLineLog;
using testsupport::TypePath;

namespace {

int OpenDescriptors() {
    int n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++n;
    return n;
}

class PortLostTest : public MainWindowTest {
  protected:
    // A window that starts without any port, as on a machine without an adapter.
    void StartEmpty() {
        dialog = std::make_unique<app::MainDialog>(std::vector<app::PortChoice>{}, "", QString());
        dialog->show();
    }
    ui::PortSelector* Ports() { return Find<ui::PortSelector>(dialog.get(), "1000"); }
    QLabel* Status() { return Find<QLabel>(dialog.get(), "status"); }
};

TEST_F(PortLostTest, TenPulledAdaptersAndTheWindowRecoversEachTime) {
    const sim::Profile* th = sim::FindProfile("th");
    ASSERT_NE(th, nullptr);
    StartEmpty();
    // An empty list stays usable for a typed path; a scan of nothing cannot open a port.
    EXPECT_TRUE(Ports()->isEnabled());
    Button("1001")->click();
    EXPECT_EQ(boxes.Only().text, "串口打开失败\n串口不存在");
    boxes.Clear();
    int afterFirst = -1;
    for (int cycle = 0; cycle < 10; ++cycle) {
        SCOPED_TRACE(cycle);
        line = std::make_unique<sim::SimulatedLine>(th->make({}));
        ASSERT_TRUE(line->Ok());
        TypePath(Ports(), line->Path());
        EXPECT_TRUE(line->Received().empty());
        Button("1001")->click();
        ASSERT_EQ(boxes.Only().text, "设备地址：1  波特率：4800");
        EXPECT_EQ(Status()->text(), "");
        boxes.Clear();

        pages::DevicePage* page = ShowPage(0, 1);
        auto* live = Find<QCheckBox>(page, "1015");
        if (!live->isChecked()) live->click();
        dialog->RealtimeTick();
        EXPECT_FALSE(Find<QLineEdit>(page, "1014")->text().isEmpty());
        EXPECT_FALSE(Find<QLineEdit>(page, "1012")->text().isEmpty());

        line.reset();  // the adapter is pulled: its line hangs up under the program
        ASSERT_TRUE(testsupport::WaitFor([&] { return Status()->text() == "串口已断开"; }));
        dialog->RealtimeTick();
        EXPECT_EQ(Find<QLineEdit>(page, "1014")->text(), "");
        EXPECT_EQ(Status()->text(), "串口已断开");
        EXPECT_TRUE(boxes.Boxes().empty()) << boxes.Texts().toStdString();
        Ports()->RefreshTick();  // no port open: the list is read again
        if (cycle == 0) afterFirst = OpenDescriptors();
    }
    EXPECT_EQ(OpenDescriptors(), afterFirst);
}

TEST_F(PortLostTest, TheScanShowsTheRateOfEachProbeBeforeItsWait) {
    const struct {
        std::uint32_t deviceBaud;
        bool silent;
        std::vector<StatusLineLog::Entry> painted;
        QString box;
        QString after;  // the line once the scan is over
    } cases[] = {
        {4800,
         true,
         {{"正在测试 2400 波特率…", 0},
          {"正在测试 4800 波特率…", 1},
          {"正在测试 9600 波特率…", 2},
          {"正在测试 9600 波特率…", 3},
          {"正在测试 9600 波特率…", 4}},
         "测试结束 未知波特率",
         "可点击“诊断”查看原因"},
        {4800,
         false,
         {{"正在测试 2400 波特率…", 0}, {"正在测试 4800 波特率…", 1}},
         "设备地址：7  波特率：4800",
         ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.silent);
        boxes.Clear();
        StartDevice(Device(7, c.deviceBaud));
        if (c.silent) line->SetFault(sim::Fault::Silence);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        {
            StatusLineLog log(Status(), *line);
            Button("1001")->click();
            EXPECT_EQ(log.Entries(), c.painted);
        }
        EXPECT_EQ(boxes.Only().text, c.box);
        EXPECT_EQ(Status()->text(), c.after);  // the progress text goes with the scan
    }
}

TEST_F(PortLostTest, ATypedPathIsSelectedOnReturnAndTheScanOpensIt) {
    StartDevice(Device(7, 4800));
    dialog->show();
    auto other = std::make_shared<sim::RegisterDevice>(Device(9, 9600));
    sim::SimulatedLine otherLine(other);
    ui::PortSelector* ports = Ports();
    const int listed = ports->count();
    for (int twice = 0; twice < 2; ++twice) {
        TypePath(ports, otherLine.Path());
        EXPECT_EQ(ports->count(), listed + 1);  // listed once
        EXPECT_EQ(ports->currentText().toStdString(), otherLine.Path());
        EXPECT_EQ(ports->SelectedPath(), otherLine.Path());
    }
    // Return only chose the port: nothing opened, nothing sent, no box, no scan.
    EXPECT_FALSE(dialog->Link().IsOpen());
    EXPECT_TRUE(line->Received().empty());
    EXPECT_TRUE(otherLine.Received().empty());
    EXPECT_TRUE(boxes.Boxes().empty()) << boxes.Texts().toStdString();
    ports->Refresh();
    EXPECT_EQ(ports->SelectedPath(), otherLine.Path());

    Button("1001")->click();
    EXPECT_EQ(boxes.Only().text, "设备地址：9  波特率：9600");
    EXPECT_EQ(dialog->Link().Port().Path(), otherLine.Path());

    // A path typed without Return is what the next scan opens.
    boxes.Clear();
    ports->lineEdit()->setText(QString::fromStdString(line->Path()));
    Button("1001")->click();
    EXPECT_EQ(boxes.Only().text, "设备地址：7  波特率：4800");
    EXPECT_EQ(dialog->Link().Port().Path(), line->Path());
}

TEST_F(PortLostTest, TheListIsReadAgainOnOpeningAndEveryTwoSecondsWhileNoPortIsOpen) {
    StartDevice(Device(7, 4800));
    dialog->show();
    ui::PortSelector* ports = Ports();
    EXPECT_TRUE(ports->RefreshTimer().isActive());
    EXPECT_EQ(ports->RefreshTimer().interval(), 2000);
    sim::PtyLine first, second, third;
    const auto listed = [ports](const sim::PtyLine& l) {
        return ports->findData(QString::fromStdString(l.SlavePath())) >= 0;
    };

    // No port open yet: the timer's tick brings a new line in and keeps the selection.
    ports->KeepPaths({first.SlavePath()});
    EXPECT_FALSE(listed(first));
    ports->RefreshTick();
    EXPECT_TRUE(listed(first));
    EXPECT_EQ(ports->SelectedPath(), line->Path());

    // Open after a scan: the timer leaves the list alone, opening the drop-down reads it.
    Button("1001")->click();
    ASSERT_TRUE(dialog->Link().IsOpen());
    ports->KeepPaths({second.SlavePath()});
    ports->RefreshTick();
    EXPECT_FALSE(listed(second));
    ports->showPopup();
    EXPECT_TRUE(listed(second));
    ports->hidePopup();
    EXPECT_EQ(ports->SelectedPath(), line->Path());

    // What is being typed survives a refresh, and stays unlisted until Return.
    ports->KeepPaths({third.SlavePath()});
    ports->lineEdit()->setText("/dev/pts/");
    ports->Refresh();
    EXPECT_TRUE(listed(third));
    EXPECT_EQ(ports->currentText(), "/dev/pts/");
    EXPECT_EQ(ports->findText("/dev/pts/"), -1);
}

}  // namespace
