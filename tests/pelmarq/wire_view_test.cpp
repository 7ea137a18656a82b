// The traffic panel, the status fields, the diagnosis, the value log and the trend of
// Pelmarq's window, end to end over a pseudo-terminal against the simulated device.
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>

#include "pelmarq_fixture.h"
#include "register_client.h"
#include "status_line.h"
#include "status_line_log.h"
#include "traffic_view.h"
#include "trend_view.h"
#include "wire_panels.h"

using namespace pelmarqtest;

namespace {

class WireViewTest : public MainWindowTest {
  protected:
    // A device at address 7, 4800 baud, temperature 25.3 and humidity 55.0, found by a scan.
    void StartFound() {
        StartDevice(Device(7, 4800), {{0, 550}, {1, 253}, {0x10, 0}});
        dialog->show();
        ScanAndForget();
    }
    QTableView* Table() { return Find<QTableView>(dialog.get(), "traffic"); }
    ui::TrafficView* View() { return Find<ui::TrafficView>(dialog.get(), "trafficPanel"); }
    QDockWidget* Dock() { return Find<QDockWidget>(dialog.get(), "trafficDock"); }
    // The panel's lines now: "direction | hex | meaning".
    QStringList Lines() {
        View()->Refresh();
        QStringList out;
        QAbstractItemModel* m = Table()->model();
        for (int row = 0; row < m->rowCount(); ++row)
            out << m->index(row, 1).data().toString() + " | " + m->index(row, 2).data().toString() +
                       " | " + m->index(row, 3).data().toString();
        return out;
    }
    QString Field(const char* name) {
        return Find<QLabel>(Find<QWidget>(dialog.get(), "status"), name)->text();
    }
    QLabel* Status() { return Find<QLabel>(dialog.get(), "status"); }
};

TEST_F(WireViewTest, ThePanelIsHiddenUntilToggledAndReadsTheTapOnlyWhileShown) {
    StartDevice(Device(7, 4800));
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    auto* toggle = Button("trafficToggle");
    ASSERT_NE(toggle, nullptr);
    EXPECT_EQ(toggle->text(), "通信监视");
    EXPECT_FALSE(Dock()->isVisible());
    EXPECT_FALSE(View()->RefreshTimer().isActive());

    const QSize without = dialog->minimumSizeHint();
    Button("1001")->click();  // frames on the wire while the panel is hidden
    EXPECT_EQ(Table()->model()->rowCount(), 0);

    toggle->click();
    ASSERT_TRUE(Dock()->isVisible());
    EXPECT_TRUE(View()->RefreshTimer().isActive());
    // Opened later, it shows what the tap still holds: the scan's first probe first.
    ASSERT_GE(Table()->model()->rowCount(), 2);
    EXPECT_EQ(Table()->model()->index(0, 2).data().toString(), "FD FD FD 00 00 E9 88");
    EXPECT_EQ(Table()->model()->index(0, 3).data().toString(), "FD 查询");

    // Docked, the panel asks the window for a few lines' height and no width.
    const QSize least = dialog->minimumSizeHint();
    EXPECT_LE(least.width(), std::max(without.width(), 1000));
    EXPECT_LE(least.height() - without.height(), 100);

    // Ctrl+T hides it again; floated, it is a window of its own and takes no room in this one.
    QTest::keyClick(dialog.get(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_FALSE(Dock()->isVisible());
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_FALSE(View()->RefreshTimer().isActive());
    QTest::keyClick(dialog.get(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_TRUE(Dock()->isVisible());
    Dock()->setFloating(true);
    EXPECT_TRUE(Dock()->isWindow());
    EXPECT_TRUE(Dock()->isVisible());
    EXPECT_FALSE(Find<QWidget>(dialog.get(), "panelHost")->isVisible());
}

TEST_F(WireViewTest, ReadsWritesGiveUpsAndLateRepliesEachGetTheirLine) {
    StartFound();
    Button("trafficToggle")->click();
    View()->Clear();
    protocol::RegisterClient client(dialog->Link());
    std::uint16_t value = 0;
    const struct {
        const char* what;
        std::function<void()> act;
        QStringList lines;
    } cases[] = {
        {"read",
         [&] { client.ReadRegister(0x0001, &value); },
         {"发送 | 07 03 00 01 00 01 D5 AC | 读 0x0001 ×1",
          "接收 | 07 03 02 00 FD F1 C5 | 读 0x0001 ×1 → 253"}},
        {"write",
         [&] { client.WriteRegister(0x0010, 35); },
         {"发送 | 07 06 00 10 00 23 C9 B0 | 写 0x0010 = 35",
          "接收 | 07 06 00 10 00 23 C9 B0 | 写 0x0010 = 35 → 确认"}},
        {"exception",
         [&] {
             line->SetFault(sim::Fault::Exception, 1);
             client.ReadRegister(0x0001, &value);
         },
         {"发送 | 07 03 00 01 00 01 D5 AC | 读 0x0001 ×1",
          "接收 | 07 83 02 20 F0 | 异常 02 非法数据地址"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        View()->Clear();
        c.act();
        EXPECT_EQ(Lines(), c.lines);
    }

    // A read nobody answers in time, and its reply, too late, dropped before the next request.
    View()->Clear();
    line->SetFault(sim::Fault::Late, 1, 650);
    EXPECT_NE(client.ReadRegister(0x0001, &value), protocol::ExchangeStatus::Ok);
    EXPECT_EQ(client.ReadRegister(0x0000, &value), protocol::ExchangeStatus::Ok);
    const QStringList lines = Lines();
    ASSERT_EQ(lines.size(), 5) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines[1].startsWith("超时 |  | 无应答 (")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith(" ms)"));
    EXPECT_EQ(lines[2], "丢弃 | 07 03 02 00 FD F1 C5 | 丢弃 (迟到)");
    EXPECT_EQ(lines[4], "接收 | 07 03 02 02 26 B0 FE | 读 0x0000 ×1 → 550");
}

TEST_F(WireViewTest, PauseHoldsTheLinesAndClearEmptiesThem) {
    StartFound();
    Button("trafficToggle")->click();
    protocol::RegisterClient client(dialog->Link());
    std::uint16_t value = 0;
    const int before = static_cast<int>(Lines().size());
    Button("trafficPause")->click();
    ASSERT_TRUE(View()->Paused());
    client.ReadRegister(0x0001, &value);
    EXPECT_EQ(Lines().size(), before);
    Button("trafficPause")->click();  // resumed: what came meanwhile shows
    EXPECT_EQ(Lines().size(), before + 2);
    Button("trafficClear")->click();
    EXPECT_TRUE(Lines().isEmpty());
    client.ReadRegister(0x0001, &value);
    EXPECT_EQ(Lines().size(), 2);
    EXPECT_TRUE(View()->Text().endsWith("读 0x0001 ×1 → 253\n"));

    QTemporaryDir dir;
    const QString path = dir.filePath("traffic.txt");
    ASSERT_TRUE(View()->SaveTo(path));
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(saved.readAll()), View()->Text());
}

TEST_F(WireViewTest, TheStatusFieldsAfterAScanAndAfterThePortWasPulled) {
    StartFound();
    dialog->Status().Check();
    EXPECT_EQ(Field("statusPort").toStdString(), line->Path());
    EXPECT_EQ(Field("statusBaud"), "4800 波特");
    EXPECT_EQ(Field("statusAddress"), "地址 7");
    EXPECT_EQ(Field("statusMode"), "FD 帧");
    EXPECT_EQ(Field("statusResult"), "上次：正常");
    EXPECT_TRUE(QRegularExpression("^读数：(刚刚|\\d+ 秒前)$").match(Field("statusAge")).hasMatch())
        << Field("statusAge").toStdString();
    EXPECT_EQ(Status()->text(), "");

    pages::DevicePage* page = ShowPage(0, 1);
    line->SetFault(sim::Fault::BadCrc, 1);
    page->QueryButton(0)->click();
    dialog->Status().Check();
    EXPECT_EQ(Field("statusResult"), "上次：CRC 错误");

    line.reset();  // the adapter is pulled
    ASSERT_TRUE(testsupport::WaitFor([&] { return Status()->text() == "串口已断开"; }));
    EXPECT_EQ(Field("statusBaud"), "未打开");
}

TEST_F(WireViewTest, TheDiagnosisSaysWhatIsWrongInABox) {
    const struct {
        const char* what;
        std::uint32_t deviceBaud;
        bool silent;
        QString starts;
    } cases[] = {
        {"no device", 4800, true, "在所有波特率下都没有收到任何数据。"},
        {"a device at 19200", 19200, false, "只有在 19200 波特率下才收到数据"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        boxes.Clear();
        StartDevice(Device(7, c.deviceBaud));
        if (c.silent) line->SetFault(sim::Fault::Silence);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        std::vector<testsupport::StatusLineLog::Entry> painted;
        {
            testsupport::StatusLineLog log(Status(), *line);
            Button("diagnose")->click();
            painted = log.Entries();
        }
        ASSERT_FALSE(painted.empty());
        EXPECT_EQ(painted[0].text, "正在诊断：2400 波特率，FD 帧（第 1 步）…");
        const ui::BoxRequest box = boxes.Only();
        EXPECT_EQ(box.caption, "诊断结果");
        EXPECT_TRUE(box.text.startsWith(c.starts)) << box.text.toStdString();
        EXPECT_EQ(Status()->text(), "");
        EXPECT_TRUE(Button("1001")->isEnabled());
        EXPECT_FALSE(Button("1004")->isEnabled());
    }
}

TEST_F(WireViewTest, TheValueLogAndTheTrendTakeEveryPolledValueOfEachTick) {
    QTemporaryDir dir;
    const QString path = dir.filePath("values.csv");
    StartFound();
    ASSERT_TRUE(dialog->StartLog(path));
    EXPECT_TRUE(Button("logToggle")->isChecked());
    pages::DevicePage* page = ShowPage(0, 1);
    page->RealtimeBox()->click();
    for (int tick = 0; tick < 3; ++tick) dialog->RealtimeTick();
    line.reset();  // pulled mid-log: the rows of that tick stay, empty
    ASSERT_TRUE(testsupport::WaitFor([&] { return !dialog->Link().IsOpen(); }));
    dialog->RealtimeTick();

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList rows = QString::fromUtf8(bytes).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 1 + 4 * 2) << bytes.toStdString();
    EXPECT_EQ(rows[0], "time,page,label,value,unit");
    const QRegularExpression time(
        "^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}[+-]\\d\\d:\\d\\d$");
    const QString name = dialog->PageName();
    for (int i = 1; i < rows.size(); ++i) {
        const QStringList cells = rows[i].split(',');
        ASSERT_EQ(cells.size(), 5) << rows[i].toStdString();
        EXPECT_TRUE(time.match(cells[0]).hasMatch()) << cells[0].toStdString();
        EXPECT_EQ(cells[1], name);
        const bool pulled = i > 6;
        const bool temperature = i % 2 == 1;
        EXPECT_EQ(cells[2], temperature ? "温度" : "湿度");
        EXPECT_EQ(cells[3], pulled ? "" : temperature ? "25.3" : "55.0");
        EXPECT_EQ(cells[4], temperature ? "℃" : "%RH");
    }

    const ui::TrendView* trend = dialog->Panels().Trend();
    EXPECT_EQ(trend->Page(), name);
    const ui::TrendView::Series* series = trend->Find("温度");
    ASSERT_NE(series, nullptr);
    ASSERT_EQ(series->points.size(), 4u);
    EXPECT_DOUBLE_EQ(series->points[0].value, 25.3);
    EXPECT_TRUE(series->points[2].valid);
    EXPECT_FALSE(series->points[3].valid);  // the pulled tick is a gap

    // Started again on the same file: rows follow, the header is not repeated.
    dialog->StopLog();
    ASSERT_TRUE(dialog->StartLog(path));
    dialog->StopLog();
    file.seek(0);
    EXPECT_EQ(QString::fromUtf8(file.readAll()).count("time,page"), 1);
}

}  // namespace
