// The main window against simulated devices: the scan in every addressing mode, the address
// and baud-rate commands, the busy flag and the real-time refresh of the visible page.
#include "device_places.h"
#include "gas_pages.h"
#include "pelmarq_fixture.h"

using namespace pelmarqtest;
using sim::AddressingMode;

TEST_F(MainWindowTest, ScanFindsAnAddressFrameDeviceAtEachRate) {
    for (std::uint32_t baud : {2400u, 4800u, 9600u}) {
        boxes.Clear();
        StartDevice(Device(7, baud));
        Button("1001")->click();
        const ui::BoxRequest box = boxes.Only();
        EXPECT_EQ(box.text, QString("设备地址：7  波特率：%1").arg(baud));
        EXPECT_EQ(box.caption, "测试结果");
        EXPECT_EQ(box.icon, ui::BoxIcon::None);
        EXPECT_EQ(Field("1002")->text(), "7");
        EXPECT_EQ(Field("1003")->text(), QString::number(baud));
        EXPECT_TRUE(Button("1004")->isEnabled());
        EXPECT_TRUE(Button("1001")->isEnabled());
        EXPECT_EQ(line->LineBaud(), baud);
        EXPECT_EQ(dialog->Link().DeviceAddress(), 7);
    }
}

TEST_F(MainWindowTest, ScanFindsCommBlockDevicesWithTheirParityAndStopBits) {
    const struct {
        AddressingMode mode;
        std::uint8_t parity, stop1, stop2;
        int baudCode;
        QString text, caption;
        ui::BoxIcon icon;
        std::uint8_t slave;
    } cases[] = {
        {AddressingMode::Broadcast, 2, 0, 1, -1, "土壤变送器\r\n地址：5  波特率：9600\r\n偶校验",
         "测试结果", ui::BoxIcon::None, 0xFF},
        {AddressingMode::Broadcast, 0, 1, 1, -1,
         "土壤变送器\r\n地址：5  波特率：9600\r\n无校验\r\n停止位异常,请重新配置地址或波特率",
         "测试结果异常", ui::BoxIcon::Question, 0xFF},
        {AddressingMode::Zero, 1, 0, 1, 7, "土壤变送器\r\n地址：5  波特率：0\r\n奇校验", "测试结果",
         ui::BoxIcon::None, 0x00},
        {AddressingMode::Zero, 9, 0, 1, -1, "土壤变送器\r\n地址：5  波特率：9600\r\n错误校验",
         "测试结果", ui::BoxIcon::None, 0x00},
    };
    for (const auto& c : cases) {
        boxes.Clear();
        StartDevice(Device(5, 9600, c.mode), {{1, 236}});
        device->SetCommBlock(c.parity, c.stop1, c.stop2, c.baudCode);
        Button("1001")->click();
        const ui::BoxRequest box = boxes.Only();
        EXPECT_EQ(box.text, c.text);
        EXPECT_EQ(box.caption, c.caption);
        EXPECT_EQ(box.icon, c.icon);
        EXPECT_EQ(dialog->BroadcastMode(), c.slave == 0xFF);
        EXPECT_EQ(dialog->ZeroAddressMode(), c.slave == 0x00);
        // Every page now talks to the fixed address.
        line->ClearReceived();
        auto* page = ShowPage(0, 0);
        Find<QPushButton>(page, "1010")->click();
        ASSERT_FALSE(line->Received().empty());
        EXPECT_EQ(line->Received().back()[0], c.slave);
        EXPECT_EQ(Find<QLineEdit>(page, "1009")->text(), "23.6");
    }
}

TEST_F(MainWindowTest, ScanWithNoDeviceSendsTheFiveProbesInOrder) {
    StartDevice(Device(7, 4800));
    line->SetFault(sim::Fault::Silence);
    Button("1001")->click();
    const ui::BoxRequest box = boxes.Only();
    EXPECT_EQ(box.text, "测试结束 未知波特率");
    EXPECT_EQ(box.caption, "测试结果");
    EXPECT_FALSE(Button("1004")->isEnabled());
    EXPECT_TRUE(Button("1001")->isEnabled());
    const sim::Bytes fd = Bytes(protocol::BuildAddressFrame(0, 0));
    EXPECT_EQ(line->Received(),
              (std::vector<sim::Bytes>{fd,
                                       fd,
                                       fd,
                                       {0xFF, 0x03, 0x02, 0x00, 0x00, 0x05, 0x91, 0xAF},
                                       {0x00, 0x03, 0x02, 0x00, 0x00, 0x05, 0x85, 0xA0}}));
    EXPECT_TRUE(dialog->Link().IsOpen());  // left open at 9600
    EXPECT_EQ(line->LineBaud(), 9600u);
}

TEST_F(MainWindowTest, ScanRejectsAnAddressFrameReplyWithABadBaudCodeAndGoesOn) {
    // A device whose FD reply is damaged at 2400 is not taken; the next probes still run.
    StartDevice(Device(7, 2400));
    line->SetFault(sim::Fault::BadCrc, 1);
    Button("1001")->click();
    EXPECT_EQ(boxes.Only().text, "测试结束 未知波特率");
    EXPECT_EQ(line->Received().size(), 5u);
}

TEST_F(MainWindowTest, ScanOnAPortThatCannotOpen) {
    testsupport::BoxRecorder recorder;
    app::MainDialog d({{"/dev/no-such-port", "/dev/no-such-port"}}, "", QString());
    Find<QPushButton>(&d, "1001")->click();
    const ui::BoxRequest box = recorder.Only();
    EXPECT_EQ(box.text, "串口打开失败\n串口不存在");
    EXPECT_EQ(box.caption, "警告");
    EXPECT_EQ(box.icon, ui::BoxIcon::Question);
    EXPECT_TRUE(Find<QPushButton>(&d, "1001")->isEnabled());
    EXPECT_FALSE(d.Link().IsOpen());
}

// A port named on the command line is the one selected, after the system's own ports: the
// scan probes that line, not the first listed.
TEST_F(MainWindowTest, TheNamedPortIsSelectedWhereverTheListPutsIt) {
    StartDevice(Device(7, 4800));
    const std::string path = line->Path();
    dialog = std::make_unique<app::MainDialog>(
        std::vector<app::PortChoice>{{"/dev/no-such-ttyS0", "/dev/no-such-ttyS0"}, {path, path}},
        path, QString());
    EXPECT_EQ(Find<QComboBox>(dialog.get(), "1000")->currentData().toString().toStdString(), path);
    Button("1001")->click();
    EXPECT_EQ(boxes.Only().text, "设备地址：7  波特率：4800");
    EXPECT_EQ(dialog->Link().Port().Path(), path);
    // A path that is not listed leaves the first port selected.
    dialog = std::make_unique<app::MainDialog>(std::vector<app::PortChoice>{{path, path}},
                                               "/dev/elsewhere", QString());
    EXPECT_EQ(Find<QComboBox>(dialog.get(), "1000")->currentIndex(), 0);
}

TEST_F(MainWindowTest, ScanClearsTheZeroAddressModeOfAnEarlierDevice) {
    StartDevice(Device(5, 9600, AddressingMode::Zero), {{1, 236}});
    Button("1001")->click();
    ASSERT_TRUE(dialog->ZeroAddressMode());
    // Another port holds a device found by the FD frame.
    auto fdDevice =
        std::make_shared<sim::RegisterDevice>(Device(9, 9600), sim::RegisterMap{{1, 1}});
    sim::SimulatedLine other(fdDevice);
    auto* ports = Find<QComboBox>(dialog.get(), "1000");
    ports->addItem(QString::fromStdString(other.Path()), QString::fromStdString(other.Path()));
    ports->setCurrentIndex(1);
    boxes.Clear();
    Button("1001")->click();
    EXPECT_EQ(boxes.Only().text, "设备地址：9  波特率：9600");
    EXPECT_FALSE(dialog->ZeroAddressMode());
    EXPECT_EQ(dialog->Link().DeviceAddress(), 9);
}

TEST_F(MainWindowTest, AddressAndBaudCommandsInAddressFrameMode) {
    StartDevice(Device(7, 4800), {{1, 236}});
    ScanAndForget();
    const QString range = "地址超出范围(1-255)";
    const auto warn = ui::BoxIcon::Warning;
    const auto none = ui::BoxIcon::None;
    const struct {
        const char* address;
        const char* baud;
        const char* button;
        QString box, caption;
        ui::BoxIcon icon;
        std::vector<sim::Bytes> sent;
    } cases[] = {
        // clang-format off
        {"300", "4800", "1005", range, "警告", warn, {}},  // once address 44
        {"256", "4800", "1005", range, "警告", warn, {}},
        {"-1", "4800", "1005", range, "警告", warn, {}},
        {"abc", "4800", "1005", "请输入数字", "警告", warn, {}},
        {"0", "4800", "1005", "地址不能为0", "Pelmarq", none, {}},
        {"0.9", "4800", "1005", "地址不能为0", "Pelmarq", none, {}},
        {"300", "9600", "1007", range, "警告", warn, {}},
        {"0", "9600", "1007", "地址不能为0", "Pelmarq", none, {}},
        {"1", "19200", "1007", "波特率错误", "Pelmarq", none, {}},
        {"1", "9600.5", "1007", "波特率错误", "Pelmarq", none, {}},
        {"255", "4800", "1005", "地址设置成功", "Pelmarq", none, {Bytes(protocol::BuildAddressFrame(0, 255))}},
        {" 1\t", "4800", "1005", "地址设置成功", "Pelmarq", none, {Bytes(protocol::BuildAddressFrame(0, 1))}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.address) + " " + c.baud);
        boxes.Clear();
        line->ClearReceived();
        Field("1002")->setText(c.address);
        Field("1003")->setText(c.baud);
        Button(c.button)->click();
        const ui::BoxRequest box = boxes.Only();
        EXPECT_EQ(box.text, c.box);
        EXPECT_EQ(box.caption, c.caption);
        EXPECT_EQ(box.icon, c.icon);
        EXPECT_EQ(line->Received(), c.sent);
    }
    EXPECT_EQ(device->Address(), 1);
    EXPECT_EQ(dialog->Link().DeviceAddress(), 1);

    // A baud change follows the device to its new rate.
    boxes.Clear();
    Field("1002")->setText("1");
    Field("1003")->setText("9600");
    Button("1007")->click();
    EXPECT_EQ(boxes.Only().text, "波特率设置成功");
    EXPECT_EQ(device->Baud(), 9600u);
    EXPECT_EQ(line->LineBaud(), 9600u);
    EXPECT_TRUE(dialog->Link().IsOpen());
    auto* page = ShowPage(0, 0);
    Find<QPushButton>(page, "1010")->click();
    EXPECT_EQ(Find<QLineEdit>(page, "1009")->text(), "23.6");
}

TEST_F(MainWindowTest, FailedCommandsSayWhatFailed) {
    StartDevice(Device(7, 4800));
    ScanAndForget();
    line->SetFault(sim::Fault::Silence);
    Field("1002")->setText("8");
    Button("1005")->click();
    Field("1003")->setText("2400");
    Button("1007")->click();
    ASSERT_EQ(boxes.Boxes().size(), 2u) << boxes.Texts().toStdString();
    EXPECT_EQ(boxes.Boxes()[0].text, "地址设置失败");
    EXPECT_EQ(boxes.Boxes()[1].text, "波特率设置失败");
    for (const auto& b : boxes.Boxes()) {
        EXPECT_EQ(b.caption, "警告");
        EXPECT_EQ(b.icon, ui::BoxIcon::Question);
    }
    EXPECT_EQ(line->LineBaud(), 4800u);  // no re-open after a failed change
}

// A set is done only when the device's reply reports it; otherwise the failure box, and the
// address, the rate and the port stay as they were.
TEST_F(MainWindowTest, SetsNeedAReplyThatReportsWhatWasAsked) {
    const struct {
        const char* name;
        AddressingMode mode;
        const char* button;
        const char* address;
        const char* baud;
        sim::Fault fault;
        int param;
        QString box;
    } cases[] = {
        // FD FD FD, code, address: the code reports 4800 (2400: 2400) instead of 9600.
        {"FD baud set, other code", AddressingMode::Frame, "1007", "7", "9600",
         sim::Fault::WrongFunction, 3, "波特率设置失败"},
        {"FD address set, other address", AddressingMode::Frame, "1005", "12", "4800",
         sim::Fault::WrongFunction, 4, "地址设置失败"},
        {"FD baud set, short reply", AddressingMode::Frame, "1007", "7", "9600",
         sim::Fault::ShortValid, 4, "波特率设置失败"},
        // FF 10 02 00 00 05 + CRC cut to its first bytes with a valid CRC.
        {"comm block baud set, short reply", AddressingMode::Zero, "1007", "5", "4800",
         sim::Fault::ShortValid, 2, "波特率设置失败"},
        {"comm block address set, register cut", AddressingMode::Zero, "1005", "12", "9600",
         sim::Fault::ShortValid, 4, "地址设置失败"},
        {"comm block address set, other register", AddressingMode::Zero, "1005", "12", "9600",
         sim::Fault::WrongFunction, 3, "地址设置失败"},
        {"comm block address set, other sender", AddressingMode::Zero, "1005", "12", "9600",
         sim::Fault::WrongAddress, 0, "地址设置失败"},
        {"comm block address set, twice", AddressingMode::Zero, "1005", "12", "9600",
         sim::Fault::DoubleReply, 0, "地址设置失败"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::uint32_t rate = c.mode == AddressingMode::Frame ? 2400 : 9600;
        StartDevice(Device(5, rate, c.mode));
        ScanAndForget();
        const std::uint8_t linkAddress = dialog->Link().DeviceAddress();
        Field("1002")->setText(c.address);
        Field("1003")->setText(c.baud);
        line->SetFault(c.fault, 1, c.param);
        Button(c.button)->click();
        const ui::BoxRequest box = boxes.Only();
        EXPECT_EQ(box.text, c.box);
        EXPECT_EQ(box.caption, "警告");
        EXPECT_EQ(box.icon, ui::BoxIcon::Question);
        EXPECT_EQ(line->Received().size(), 1u);
        EXPECT_EQ(line->LineBaud(), rate);  // the port keeps its rate
        EXPECT_EQ(dialog->Link().DeviceAddress(), linkAddress);
    }
}

// A comm block write may be answered from the device's own new address.
TEST_F(MainWindowTest, CommBlockWriteAnsweredFromTheNewAddress) {
    sim::RegisterDeviceConfig config = Device(5, 9600, AddressingMode::Broadcast);
    config.answerWritesFromOwnAddress = true;
    StartDevice(config);
    ScanAndForget();
    Field("1002")->setText("12");
    Button("1005")->click();
    EXPECT_EQ(boxes.Only().text, "地址设置成功");
    EXPECT_EQ(device->Address(), 12);
}

TEST_F(MainWindowTest, BroadcastModeCommandsUseTheCommBlock) {
    StartDevice(Device(5, 9600, AddressingMode::Broadcast), {{1, 236}});
    ScanAndForget();
    Field("1002")->setText("12");
    Button("1005")->click();
    EXPECT_EQ(boxes.Only().text, "地址设置成功");
    // The baud code the device reported (3 for 9600) goes back unchanged.
    EXPECT_EQ(
        line->Received(),
        (std::vector<sim::Bytes>{Bytes(protocol::BuildCommBlockWrite(0xFF, {12, 3, 0, 0, 0}))}));
    EXPECT_EQ(device->Address(), 12);
    EXPECT_EQ(device->Baud(), 9600u);

    // A failed broadcast set says so and falls through to a second request (the FD frame).
    boxes.Clear();
    line->ClearReceived();
    line->SetFault(sim::Fault::Silence, 1);
    Button("1005")->click();
    ASSERT_EQ(boxes.Boxes().size(), 2u) << boxes.Texts().toStdString();
    EXPECT_EQ(boxes.Boxes()[0].text, "地址设置失败");
    EXPECT_EQ(boxes.Boxes()[1].text, "地址设置失败");
    ASSERT_EQ(line->Received().size(), 2u);
    EXPECT_EQ(line->Received()[1], Bytes(protocol::BuildAddressFrame(0, 12)));

    // A baud change leaves the port at the old rate; the device answers only at the new one.
    boxes.Clear();
    line->ClearReceived();
    Field("1003")->setText("4800");
    Button("1007")->click();
    EXPECT_EQ(boxes.Only().text, "波特率设置成功");
    EXPECT_EQ(
        line->Received(),
        (std::vector<sim::Bytes>{Bytes(protocol::BuildCommBlockWrite(0xFF, {12, 2, 0, 0, 1}))}));
    EXPECT_EQ(line->LineBaud(), 9600u);
    EXPECT_EQ(device->Baud(), 4800u);
}

TEST_F(MainWindowTest, ZeroAddressModeWritesItsOwnBlock) {
    StartDevice(Device(5, 9600, AddressingMode::Zero));
    ScanAndForget();
    Field("1002")->setText("6");
    Button("1005")->click();
    EXPECT_EQ(boxes.Only().text, "地址设置成功");
    EXPECT_EQ(
        line->Received(),
        (std::vector<sim::Bytes>{Bytes(protocol::BuildCommBlockWrite(0x00, {6, 3, 0, 0, 1}))}));
}

TEST_F(MainWindowTest, QueryRunsOncePerBusyPeriodAndFillsBothFields) {
    StartDevice(Device(7, 4800));
    ScanAndForget();
    Field("1002")->setText("x");
    Button("1004")->click();
    Button("1006")->click();  // within the same 300 ms period: nothing
    EXPECT_EQ(line->Received().size(), 1u);
    EXPECT_EQ(Field("1002")->text(), "7");
    EXPECT_EQ(Field("1003")->text(), "4800");
    // Once timer 1 has cleared the flag the query runs again; a silent device leaves " ".
    line->SetFault(sim::Fault::Silence);
    ASSERT_TRUE(testsupport::WaitFor([&] {
        Button("1004")->click();
        return line->Received().size() == 2u;
    }));
    EXPECT_EQ(Field("1002")->text(), " ");
    EXPECT_EQ(Field("1003")->text(), " ");
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(MainWindowTest, RealtimePollsOnlyTheVisiblePage) {
    StartDevice(Device(7, 4800), {{0, 553}, {1, 236}, {2, 1}});
    ScanAndForget();
    auto* temperature = ShowPage(0, 0);
    Find<QCheckBox>(temperature, "1011")->click();
    EXPECT_FALSE(Find<QPushButton>(temperature, "1010")->isEnabled());
    dialog->RealtimeTick();
    EXPECT_EQ(Find<QLineEdit>(temperature, "1009")->text(), "23.6");
    EXPECT_EQ(line->Received().size(), 1u);

    // Another sub-tab shown: the checked page is not polled, its box stays checked.
    ShowPage(0, 1);
    line->ClearReceived();
    dialog->RealtimeTick();
    EXPECT_TRUE(line->Received().empty());
    EXPECT_TRUE(temperature->RealtimeChecked());
    // Back again: polled on the next tick, by the real timer too.
    ShowPage(0, 0);
    device->SetRegister(1, 0xFF9C);
    ASSERT_TRUE(testsupport::WaitFor(
        [&] { return Find<QLineEdit>(temperature, "1009")->text() == "-10.0"; }));
    // A silent device empties the live field every tick, without a box.
    line->SetFault(sim::Fault::Silence);
    dialog->RealtimeTick();
    EXPECT_EQ(Find<QLineEdit>(temperature, "1009")->text(), "");
    EXPECT_TRUE(boxes.Boxes().empty());
    Find<QCheckBox>(temperature, "1011")->click();
    EXPECT_TRUE(Find<QPushButton>(temperature, "1010")->isEnabled());
}

TEST_F(MainWindowTest, RealtimeBoxNeedsAnOpenPort) {
    StartDevice(Device(7, 4800));
    auto* page = ShowPage(1, 0);
    Find<QCheckBox>(page, "1030")->click();
    EXPECT_FALSE(page->RealtimeChecked());
    const ui::BoxRequest box = boxes.Only();
    EXPECT_EQ(box.text, "请先打开串口");
    EXPECT_EQ(box.caption, "警告");
    EXPECT_EQ(box.icon, ui::BoxIcon::Warning);
    EXPECT_TRUE(line->Received().empty());
}

TEST_F(MainWindowTest, TenCategoriesInOrder) {
    StartDevice(Device(7, 4800));
    auto* tabs = Categories();
    const QStringList titles = {"温湿度类", "水浸|烟感|红外", "光照度类", "气体类",   "风速|风向",
                                "土壤",     "气象传感器",     "电流电压", "油烟系类", "电子水尺"};
    ASSERT_EQ(tabs->count(), titles.size());
    for (int i = 0; i < titles.size(); ++i) EXPECT_EQ(tabs->tabText(i), titles[i]);
    EXPECT_EQ(dialog->windowTitle(), "PelmarqV3.6");
    // The water gauge category is a page of its own, without sub-tabs.
    EXPECT_EQ(qobject_cast<pages::CategoryContainer*>(tabs->widget(9)), nullptr);
}

TEST_F(MainWindowTest, AboutEntryInTheContextMenuAndOnF1) {
    StartDevice(Device(7, 4800));
    QAction* about = dialog->findChild<QAction*>("about-action");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->text(), "关于 Pelmarq(&A)...");
    EXPECT_EQ(about->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(dialog->contextMenuPolicy(), Qt::ActionsContextMenu);
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "about" && w->isVisible()) {
                EXPECT_EQ(w->windowTitle(), "关于Pelmarq");
                Find<QPushButton>(w, "1")->click();
            }
    });
    about->trigger();
}

TEST_F(MainWindowTest, BaudChangeReopensThePortTheDeviceWasFoundOn) {
    StartDevice(Device(7, 4800));
    // The device is reached through a link that disappears after the scan.
    const std::string alias = "/tmp/pelmarq-test-port-" + std::to_string(::getpid());
    ::unlink(alias.c_str());
    ASSERT_EQ(::symlink(line->Path().c_str(), alias.c_str()), 0);
    auto* ports = Find<QComboBox>(dialog.get(), "1000");
    ports->addItem(QString::fromStdString(alias), QString::fromStdString(alias));
    ports->setCurrentIndex(1);
    ScanAndForget();
    ports->setCurrentIndex(0);  // the selector shows another port now
    Field("1003")->setText("2400");
    Button("1007")->click();
    ASSERT_EQ(boxes.Boxes().size(), 1u) << boxes.Texts().toStdString();
    EXPECT_EQ(line->LineBaud(), 2400u);  // re-opened through the alias, at the new rate

    ::unlink(alias.c_str());
    boxes.Clear();
    Field("1003")->setText("9600");
    Button("1007")->click();
    ASSERT_EQ(boxes.Boxes().size(), 2u) << boxes.Texts().toStdString();
    EXPECT_EQ(boxes.Boxes()[0].text, "波特率设置成功");
    EXPECT_EQ(boxes.Boxes()[1].text, "串口打开失败\n串口不存在");
    EXPECT_EQ(boxes.Boxes()[1].caption, "串口提示");
    EXPECT_EQ(boxes.Boxes()[1].icon, ui::BoxIcon::Stop);
    EXPECT_FALSE(dialog->Link().IsOpen());
}

// `--demo DEVICE` shows the page of that device: the category and sub-tab the place names.
TEST_F(MainWindowTest, ShowsThePageOfEachDevice) {
    StartDevice(Device(7, 4800));
    auto* categories = Categories();
    for (const pages::DevicePlace& place : pages::DevicePlaces()) {
        SCOPED_TRACE(place.device);
        categories->setCurrentIndex(0);
        ASSERT_TRUE(dialog->ShowPageOf(place.device));
        EXPECT_EQ(categories->tabText(categories->currentIndex()), place.category);
        auto* container = qobject_cast<pages::CategoryContainer*>(categories->currentWidget());
        EXPECT_EQ(container != nullptr, place.tab != nullptr);
        if (container) {
            EXPECT_EQ(container->Tabs()->tabText(container->Tabs()->currentIndex()), place.tab);
        }
        ASSERT_NE(dialog->SelectedPage(), nullptr);
        if (place.type) {
            EXPECT_EQ(dialog->SelectedPage()->SensorTypeText(), place.type);
        }
    }
    ASSERT_TRUE(dialog->ShowPageOf("co2"));
    EXPECT_NE(qobject_cast<pages::Co2Page*>(dialog->SelectedPage()), nullptr);
    EXPECT_FALSE(dialog->ShowPageOf("gateway"));  // Quillet's device: the page stays
    EXPECT_NE(qobject_cast<pages::Co2Page*>(dialog->SelectedPage()), nullptr);
}
