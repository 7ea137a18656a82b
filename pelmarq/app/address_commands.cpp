// Reading and changing the device's address and baud rate, in the addressing mode the last
// scan found: the comm block at 0xFF (broadcast mode) or at 0 (zero-address mode), or the
// address-less FD frame.
#include <QLineEdit>

#include "main_dialog.h"
#include "message_box.h"
#include "number_text.h"

namespace app {
namespace {

// The field read as a signed integer, low 8 bits: the address a command uses.
std::uint8_t AddressEntry(const QLineEdit* field) {
    return static_cast<std::uint8_t>(protocol::ParseSignedEntry(field->text().toStdString()));
}

}  // namespace

std::uint8_t MainDialog::CommBlockBaudCode() const {
    // Changing the address must not change the baud rate: write back the code the device
    // reported where it is a valid one.
    if (protocol::CommBlockBaud(reportedBaudCode_) != 0) return reportedBaudCode_;
    return protocol::CommBlockCodeFor(currentBaud_);
}

bool MainDialog::WriteCommBlock(std::uint8_t slave, std::uint8_t address, std::uint8_t baudCode,
                                std::uint16_t lastRegister) {
    const std::size_t n =
        Exchange(protocol::BuildCommBlockWrite(slave, {address, baudCode, 0, 0, lastRegister}));
    return Accepted(protocol::CheckCommBlockWriteReply(reply_, n));
}

void MainDialog::Query() {
    if (busy_) return;
    busy_ = true;
    address_->setText(QStringLiteral(" "));
    baud_->setText(QStringLiteral(" "));
    if (broadcast_ || zeroAddress_) {
        const std::uint8_t slave =
            broadcast_ ? protocol::kBroadcastAddress : protocol::kZeroAddress;
        const std::size_t n = Exchange(protocol::BuildCommBlockRead(slave));
        protocol::CommBlock block;
        if (n > 3 && Accepted(protocol::ParseCommBlockReply(reply_, n, &block))) {
            TakeCommBlock(block);
        }
        link_.SetDeviceAddress(slave);
        return;
    }
    const std::size_t n = Exchange(protocol::BuildAddressFrame(0, 0));
    protocol::AddressInfo info;
    if (n > 3 && Accepted(protocol::ParseAddressFrameReply(reply_, n, &info))) {
        link_.SetDeviceAddress(info.address);
        currentBaud_ = info.Baud();
        address_->setText(QString::number(info.address));
        baud_->setText(QString::number(currentBaud_));
    }
}

void MainDialog::SetAddress() {
    std::uint8_t address = AddressEntry(address_);
    if (address == 0) {
        ui::Message(this, tr("地址不能为0"));
        return;
    }
    if (broadcast_) {
        if (WriteCommBlock(protocol::kBroadcastAddress, address, CommBlockBaudCode(), 0)) {
            ui::Message(this, tr("地址设置成功"));
            return;
        }
        // A failed broadcast write is followed by a second request in the other mode.
        ui::Message(this, tr("地址设置失败"), tr("警告"), ui::BoxIcon::Question);
        address = AddressEntry(address_);
        if (address == 0) {
            ui::Message(this, tr("地址不能为0"));
            return;
        }
    }
    if (zeroAddress_) {
        if (WriteCommBlock(protocol::kZeroAddress, address, CommBlockBaudCode(), 1))
            ui::Message(this, tr("地址设置成功"));
        else
            ui::Message(this, tr("地址设置失败"), tr("警告"), ui::BoxIcon::Question);
        return;
    }
    const std::size_t n = Exchange(protocol::BuildAddressFrame(0, address));
    protocol::AddressInfo info;
    if (n > 3 && Accepted(protocol::ParseAddressFrameReply(reply_, n, &info))) {
        link_.SetDeviceAddress(info.address);
        currentBaud_ = info.Baud();
        ui::Message(this, tr("地址设置成功"));
    } else {
        ui::Message(this, tr("地址设置失败"), tr("警告"), ui::BoxIcon::Question);
    }
}

void MainDialog::SetBaud() {
    const std::uint8_t address = AddressEntry(address_);
    if (address == 0) {
        ui::Message(this, tr("地址不能为0"));
        return;
    }
    const std::int32_t baud = protocol::ParseSignedEntry(baud_->text().toStdString());
    if (baud != 2400 && baud != 4800 && baud != 9600) {
        ui::Message(this, tr("波特率错误"));
        return;
    }
    const std::uint8_t code = protocol::AddressFrameCodeFor(static_cast<std::uint32_t>(baud));
    if (broadcast_ || zeroAddress_) {
        const std::uint8_t slave =
            broadcast_ ? protocol::kBroadcastAddress : protocol::kZeroAddress;
        // The port stays at its old rate: the device answers at the new one only from now on.
        if (WriteCommBlock(slave, address, code, 1))
            ui::Message(this, tr("波特率设置成功"));
        else
            ui::Message(this, tr("波特率设置失败"), tr("警告"), ui::BoxIcon::Question);
        return;
    }
    const std::size_t n = Exchange(protocol::BuildAddressFrame(code, 0));
    protocol::AddressInfo info;
    if (!(n > 3 && Accepted(protocol::ParseAddressFrameReply(reply_, n, &info)))) {
        ui::Message(this, tr("波特率设置失败"), tr("警告"), ui::BoxIcon::Question);
        return;
    }
    ui::Message(this, tr("波特率设置成功"));
    currentBaud_ = static_cast<std::uint32_t>(baud);
    // Follow the device to its new rate on the port it was found on, whatever the selector
    // shows now.
    const std::string path = foundPort_.empty() ? SelectedPortPath() : foundPort_;
    if (!link_.Reopen(path, currentBaud_))
        ui::Message(this, tr("串口打开失败"), tr("串口提示"), ui::BoxIcon::Stop);
}

}  // namespace app
