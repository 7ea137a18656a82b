// Quillet's traffic panel, status fields and diagnosis, end to end against the simulated
// transmitter.
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QTableView>
#include <QTemporaryDir>

#include "quillet_fixture.h"
#include "status_line.h"
#include "traffic_view.h"
#include "value_log.h"

using namespace quillettest;

namespace {

class QuilletWireTest : public QuilletTest {
  protected:
    QString Field(const char* name) const {
        return testsupport::Find<QLabel>(testsupport::Find<QWidget>(dialog_.get(), "status"), name)
            ->text();
    }
    QStringList Meanings() const {
        auto* view = testsupport::Find<ui::TrafficView>(dialog_.get(), "trafficPanel");
        view->Refresh();
        QAbstractItemModel* m = testsupport::Find<QTableView>(dialog_.get(), "traffic")->model();
        QStringList out;
        for (int row = 0; row < m->rowCount(); ++row) out << m->index(row, 3).data().toString();
        return out;
    }
};

TEST_F(QuilletWireTest, BroadcastModeRepliesShowAsAcceptedAndTheStatusSaysHowTheDeviceIsFound) {
    StartFound(BroadcastDevice(3));
    dialog_->Status().Check();
    EXPECT_EQ(Field("statusAddress"), "地址 3");
    EXPECT_EQ(Field("statusMode"), "广播 0xFF");
    EXPECT_EQ(Field("statusBaud"), "9600 波特");
    EXPECT_EQ(Field("statusResult"), "上次：正常");

    auto* toggle = testsupport::Find<QPushButton>(dialog_.get(), "trafficToggle");
    ASSERT_NE(toggle, nullptr);
    toggle->click();
    EXPECT_TRUE(testsupport::Find<QDockWidget>(dialog_.get(), "trafficDock")->isVisible());
    const QStringList scan = Meanings();
    ASSERT_FALSE(scan.isEmpty());
    EXPECT_EQ(scan.back(), "读通信参数 @FF → 地址 3, 9600, 无校验");

    Query(1005);  // temperature, asked at 0xFF; the reply may come from the device's address
    ASSERT_FALSE(Text(1014).isEmpty());
    const QString last = Meanings().back();
    EXPECT_TRUE(last.startsWith("读 0x")) << last.toStdString();
    EXPECT_TRUE(last.contains(" → ")) << last.toStdString();
}

TEST_F(QuilletWireTest, TheDiagnosisOfASilentLineAndTheHintAfterAFailedScan) {
    StartFound(FrameDevice());
    line_->SetFault(sim::Fault::Silence);
    boxes_.Clear();
    Click(1001);
    EXPECT_EQ(boxes_.Only().text, "测试结束 未知波特率");
    EXPECT_EQ(dialog_->Status().text(), "可点击“诊断”查看原因");
    boxes_.Clear();
    testsupport::Find<QPushButton>(dialog_.get(), "diagnose")->click();
    const ui::BoxRequest box = boxes_.Only();
    EXPECT_EQ(box.caption, "诊断结果");
    EXPECT_TRUE(box.text.startsWith("在所有波特率下都没有收到任何数据。"))
        << box.text.toStdString();
    EXPECT_EQ(dialog_->Status().text(), "");
    EXPECT_TRUE(CommandsDisabled());  // the device must be found again
    EXPECT_EQ(Field("statusAddress"), "未找到设备");
}

TEST_F(QuilletWireTest, EveryLiveValueReadGoesToTheLogEmptyWhenTheReadFailed) {
    QTemporaryDir dir;
    const QString path = dir.filePath("values.csv");
    StartFound(FrameDevice());
    ASSERT_TRUE(dialog_->StartLog(path));
    Query(1005);
    Query(1009);
    line_->SetFault(sim::Fault::Silence, 1);
    Query(1005);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList rows = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 4) << rows.join('\n').toStdString();
    EXPECT_EQ(rows[0], "time,page,label,value,unit");
    const auto cells = [&](int i) { return rows[i].split(',').mid(1); };
    EXPECT_EQ(cells(1).mid(0, 2), (QStringList{"变送器", "温度值"}));
    EXPECT_FALSE(cells(1)[2].isEmpty());  // the text the field showed then
    EXPECT_EQ(cells(2).mid(0, 2), (QStringList{"变送器", "湿度值"}));
    EXPECT_EQ(cells(2)[2], Text(1015));
    EXPECT_EQ(cells(3), (QStringList{"变送器", "温度值", "", ""}));
}

}  // namespace
