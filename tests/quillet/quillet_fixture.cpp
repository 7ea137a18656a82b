#include "quillet_fixture.h"

#include <unistd.h>

#include <cstdio>

#include "wireless_frames.h"

namespace quillettest {

sim::TransmitterConfig FrameDevice(std::uint32_t baud, std::uint8_t address) {
    sim::TransmitterConfig c;
    c.link.address = address;
    c.link.baud = baud;
    c.link.mode = sim::AddressingMode::Frame;
    return c;
}

sim::TransmitterConfig BroadcastDevice(std::uint8_t address, std::uint8_t parity,
                                       std::uint8_t stop1, std::uint8_t stop2) {
    sim::TransmitterConfig c;
    c.link.address = address;
    c.link.baud = 9600;
    c.link.mode = sim::AddressingMode::Broadcast;
    c.link.parity = parity;
    c.link.stop1 = stop1;
    c.link.stop2 = stop2;
    return c;
}

const std::vector<int>& CommandIds() {
    static const std::vector<int> ids = {1003, 1004, 1005, 1006, 1007, 1008, 1009, 1010, 1018,
                                         1019, 1020, 1021, 1022, 1023, 1024, 1025, 1026, 1027,
                                         1038, 1039, 1040, 1041, 1042, 1043, 1044, 1045, 1046,
                                         1049, 1050, 1052, 1064, 1065, 1067, 1068, 1069};
    return ids;
}

void QuilletTest::Start(const sim::TransmitterConfig& config, std::vector<std::string> morePorts) {
    ui::SetDefaultCaption("Quillet");  // as the program's main does
    device_ = std::make_shared<sim::TransmitterDevice>(
        config, sim::RegisterMap{{0, 553}, {1, 236}, {2, 1}, {3, 0}, {4, 45}, {5, 2204}, {6, 830}},
        sim::TransmitterDevice::DefaultParameters());
    line_ = std::make_unique<sim::SimulatedLine>(device_);
    ASSERT_TRUE(line_->Ok());
    std::vector<transport::PortEntry> ports{{line_->Path(), "", transport::PortAccess::Openable}};
    for (const std::string& p : morePorts)
        ports.push_back({p, "", transport::PortAccess::Openable});
    dialog_ = std::make_unique<quillet::TransmitterDialog>(ports);
    dialog_->show();
}

void QuilletTest::StartFound(const sim::TransmitterConfig& config) {
    Start(config);
    Click(1001);
    ASSERT_TRUE(CommandsEnabled()) << boxes_.Texts().toStdString();
    boxes_.Clear();
    TakeSent();
}

std::string QuilletTest::LinkToPty() {
    linkPath_ = ::testing::TempDir() + "quillet-port-" + std::to_string(::getpid());
    std::remove(linkPath_.c_str());
    EXPECT_EQ(::symlink(line_->Path().c_str(), linkPath_.c_str()), 0);
    return linkPath_;
}

QPushButton* QuilletTest::Button(int id) const {
    auto* b = testsupport::Find<QPushButton>(dialog_.get(), QString::number(id));
    EXPECT_NE(b, nullptr) << id;
    return b;
}

QLineEdit* QuilletTest::Edit(int id) const {
    auto* e = testsupport::Find<QLineEdit>(dialog_.get(), QString::number(id));
    EXPECT_NE(e, nullptr) << id;
    return e;
}

QComboBox* QuilletTest::List(int id) const {
    auto* c = testsupport::Find<QComboBox>(dialog_.get(), QString::number(id));
    EXPECT_NE(c, nullptr) << id;
    return c;
}

void QuilletTest::Click(int id) {
    if (QPushButton* b = Button(id)) b->click();
}

void QuilletTest::Query(int id) {
    ASSERT_TRUE(testsupport::WaitFor([this] { return !dialog_->Busy().IsSet(); }));
    Click(id);
}

std::vector<Bytes> QuilletTest::TakeSent() {
    // A request is recorded once the simulator framed it; the exchange that sent it has
    // waited at least for its reply (or its timeout), so it is in by now.
    std::vector<Bytes> sent = line_->Received();
    line_->ClearReceived();
    return sent;
}

bool QuilletTest::CommandsEnabled() const {
    for (int id : CommandIds())
        if (!Button(id)->isEnabled()) return false;
    return true;
}

bool QuilletTest::CommandsDisabled() const {
    for (int id : CommandIds())
        if (Button(id)->isEnabled()) return false;
    return true;
}

}  // namespace quillettest
