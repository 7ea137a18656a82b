// Reading and changing the device's address and baud rate, in the addressing mode the last
// scan found: the comm block at 0xFF (broadcast mode) or at 0 (zero-address mode), or the
// address-less FD frame.
#include <QLineEdit>

#include "entry_text.h"
#include "main_dialog.h"
#include "message_box.h"
#include "port_messages.h"

namespace app {

std::optional<std::uint8_t> MainDialog::AddressEntry() {
    const protocol::EntryValue entry =
        protocol::ConvertEntryText(address_->text().toStdString(), protocol::EntryRange::Unsigned8);
    switch (entry.error) {
        case protocol::EntryError::NotANumber:
            ui::Message(this, tr("请输入数字"), tr("警告"), ui::BoxIcon::Warning);
            return std::nullopt;
        case protocol::EntryError::OutOfRange:
            ui::Message(this, tr("地址超出范围(1-255)"), tr("警告"), ui::BoxIcon::Warning);
            return std::nullopt;
        case protocol::EntryError::None:
            break;
    }
    if (entry.bits == 0) {
        ui::Message(this, tr("地址不能为0"));
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(entry.bits);
}

std::uint8_t MainDialog::CommBlockBaudCode() const {
    // Changing the address must not change the baud rate: write back the code the device
    // reported where it is a valid one.
    if (protocol::CommBlockBaud(reportedBaudCode_) != 0) return reportedBaudCode_;
    return protocol::CommBlockCodeFor(currentBaud_);
}

bool MainDialog::WriteCommBlock(std::uint8_t slave, std::uint8_t address, std::uint8_t baudCode,
                                std::uint16_t lastRegister) {
    const protocol::Frame request =
        protocol::BuildCommBlockWrite(slave, {address, baudCode, 0, 0, lastRegister});
    const std::size_t n = Exchange(request);
    if (!Accepted(protocol::CheckCommBlockWriteReply(request, reportedAddress_, reply_, n)))
        return false;
    // What the device holds now: a later address set writes this baud code back.
    reportedAddress_ = address;
    reportedBaudCode_ = baudCode;
    return true;
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
    const std::optional<std::uint8_t> address = AddressEntry();
    if (!address) return;
    if (broadcast_) {
        if (WriteCommBlock(protocol::kBroadcastAddress, *address, CommBlockBaudCode(), 0)) {
            ui::Message(this, tr("地址设置成功"));
            return;
        }
        // A failed broadcast write is followed by a second request in the other mode.
        ui::Message(this, tr("地址设置失败"), tr("警告"), ui::BoxIcon::Question);
    }
    if (zeroAddress_) {
        if (WriteCommBlock(protocol::kZeroAddress, *address, CommBlockBaudCode(), 1))
            ui::Message(this, tr("地址设置成功"));
        else
            ui::Message(this, tr("地址设置失败"), tr("警告"), ui::BoxIcon::Question);
        return;
    }
    const protocol::Frame request = protocol::BuildAddressFrame(0, *address);
    const std::size_t n = Exchange(request);
    protocol::AddressInfo info;
    if (n > 3 && Accepted(protocol::CheckAddressFrameSetReply(request, reply_, n, &info))) {
        link_.SetDeviceAddress(info.address);
        currentBaud_ = info.Baud();
        ui::Message(this, tr("地址设置成功"));
    } else {
        ui::Message(this, tr("地址设置失败"), tr("警告"), ui::BoxIcon::Question);
    }
}

void MainDialog::SetBaud() {
    const std::optional<std::uint8_t> address = AddressEntry();
    if (!address) return;
    const std::optional<double> baud = protocol::ParseEntryNumber(baud_->text().toStdString());
    if (!baud || (*baud != 2400 && *baud != 4800 && *baud != 9600)) {
        ui::Message(this, tr("波特率错误"));
        return;
    }
    const auto rate = static_cast<std::uint32_t>(*baud);
    const std::uint8_t code = protocol::AddressFrameCodeFor(rate);
    if (broadcast_ || zeroAddress_) {
        const std::uint8_t slave =
            broadcast_ ? protocol::kBroadcastAddress : protocol::kZeroAddress;
        // The port stays at its old rate: the device answers at the new one only from now on.
        if (WriteCommBlock(slave, *address, code, 1))
            ui::Message(this, tr("波特率设置成功"));
        else
            ui::Message(this, tr("波特率设置失败"), tr("警告"), ui::BoxIcon::Question);
        return;
    }
    const protocol::Frame request = protocol::BuildAddressFrame(code, 0);
    const std::size_t n = Exchange(request);
    protocol::AddressInfo info;
    // Only a reply that reports the new rate moves the port; any other keeps the old one.
    if (!(n > 3 && Accepted(protocol::CheckAddressFrameSetReply(request, reply_, n, &info)))) {
        ui::Message(this, tr("波特率设置失败"), tr("警告"), ui::BoxIcon::Question);
        return;
    }
    ui::Message(this, tr("波特率设置成功"));
    currentBaud_ = rate;
    // Follow the device to its new rate on the port it was found on, whatever the selector
    // shows now.
    const std::string path = foundPort_.empty() ? SelectedPortPath() : foundPort_;
    if (!link_.Reopen(path, currentBaud_))
        ui::Message(this, ui::OpenFailedText(link_.Port().LastOpenError()), tr("串口提示"),
                    ui::BoxIcon::Stop);
}

}  // namespace app
