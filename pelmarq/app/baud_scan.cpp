// The scan that finds the one device on the bus: the address-less FD query at 2400, 4800 and
// 9600 baud, then the comm block read at 9600 baud at address 0xFF and at address 0.
#include <QLineEdit>
#include <QPushButton>

#include "main_dialog.h"
#include "message_box.h"
#include "port_messages.h"
#include "status_line.h"

namespace app {
namespace {

enum class ProbeKind { AddressFrame, CommBlockBroadcast, CommBlockZero };

struct Probe {
    std::uint32_t baud;
    ProbeKind kind;
};

constexpr Probe kProbes[] = {
    {2400, ProbeKind::AddressFrame},  {4800, ProbeKind::AddressFrame},
    {9600, ProbeKind::AddressFrame},  {9600, ProbeKind::CommBlockBroadcast},
    {9600, ProbeKind::CommBlockZero},
};

}  // namespace

void MainDialog::Scan() {
    // A new scan looks for whatever device is on the bus now, so it forgets both fixed-address
    // modes of the previous one: a device found by the FD frame must not be addressed as 0.
    broadcast_ = false;
    zeroAddress_ = false;
    const std::string path = SelectedPortPath();
    for (const Probe& probe : kProbes) {
        if (!link_.Reopen(path, probe.baud)) {
            ui::Message(this, ui::OpenFailedText(link_.Port().LastOpenError()), tr("警告"),
                        ui::BoxIcon::Question);
            EnablePortControls(true);
            return;
        }
        EnablePortControls(false);
        const std::uint8_t slave = probe.kind == ProbeKind::CommBlockZero
                                       ? protocol::kZeroAddress
                                       : protocol::kBroadcastAddress;
        // The window is blocked for the wait; the status line says which rate is tried.
        status_->Probing(probe.baud);
        const std::size_t n =
            Exchange(probe.kind == ProbeKind::AddressFrame ? protocol::BuildAddressFrame(0, 0)
                                                           : protocol::BuildCommBlockRead(slave));
        status_->EndProgress();
        const bool found =
            n > 3 && (probe.kind == ProbeKind::AddressFrame ? AcceptAddressFrame(n)
                                                            : AcceptCommBlock(n, slave));
        if (found) {
            foundPort_ = path;
            return;
        }
    }
    EnablePortControls(true);
    ui::Message(this, tr("测试结束 未知波特率"), tr("测试结果"), ui::BoxIcon::None);
}

bool MainDialog::AcceptAddressFrame(std::size_t n) {
    protocol::AddressInfo info;
    if (!Accepted(protocol::ParseAddressFrameReply(reply_, n, &info))) return false;
    link_.SetDeviceAddress(info.address);
    currentBaud_ = info.Baud();
    address_->setText(QString::number(info.address));
    baud_->setText(QString::number(currentBaud_));
    ui::Message(this, tr("设备地址：%1  波特率：%2").arg(info.address).arg(currentBaud_),
                tr("测试结果"), ui::BoxIcon::None);
    EnablePortControls(true);
    EnableCommands(true);
    return true;
}

bool MainDialog::AcceptCommBlock(std::size_t n, std::uint8_t fixedAddress) {
    protocol::CommBlock block;
    if (!Accepted(protocol::ParseCommBlockReply(reply_, n, &block))) return false;
    TakeCommBlock(block);
    QString text =
        tr("土壤变送器\r\n地址：%1  波特率：%2\r\n").arg(block.address).arg(currentBaud_) +
        tr(protocol::ParityText(parity_));
    if (stop1_ == 0 && stop2_ == 1) {
        ui::Message(this, text, tr("测试结果"), ui::BoxIcon::None);
    } else {
        text += tr("\r\n停止位异常,请重新配置地址或波特率");
        ui::Message(this, text, tr("测试结果异常"), ui::BoxIcon::Question);
    }
    EnablePortControls(true);
    EnableCommands(true);
    // From now on every register operation goes to the fixed address; the address read from
    // the device is only shown.
    if (fixedAddress == protocol::kBroadcastAddress)
        broadcast_ = true;
    else
        zeroAddress_ = true;
    link_.SetDeviceAddress(fixedAddress);
    return true;
}

void MainDialog::TakeCommBlock(const protocol::CommBlock& block) {
    currentBaud_ = block.Baud();
    reportedBaudCode_ = block.baudCode;
    reportedAddress_ = block.address;
    parity_ = block.parity;
    stop1_ = block.stop1;
    stop2_ = block.stop2;
    address_->setText(QString::number(block.address));
    baud_->setText(QString::number(currentBaud_));
}

}  // namespace app
