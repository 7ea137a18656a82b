// Reading and changing the device's address and baud rate, in the addressing mode the last
// scan found (the frames and their confirmations are in device_commands.h).
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

void MainDialog::Query() {
    if (busy_) return;
    busy_ = true;
    address_->setText(QStringLiteral(" "));
    baud_->setText(QStringLiteral(" "));
    const bool ok = device::Query(link_, found_);
    if (ok) ShowAddressAndBaud();
    // The comm block modes keep their fixed address; the FD frame's reply names the device's.
    if (found_.mode != device::Addressing::Frame || ok)
        link_.SetDeviceAddress(found_.RegisterAddress());
}

void MainDialog::SetAddress() {
    const std::optional<std::uint8_t> address = AddressEntry();
    if (!address) return;
    device::SetAddress(link_, found_, *address, [this](device::AddressStep step, bool ok) {
        // Registers go to the address an FD reply reports; the comm block modes keep theirs.
        if (ok && step == device::AddressStep::Frame) link_.SetDeviceAddress(found_.address);
        if (ok)
            ui::Message(this, tr("地址设置成功"));
        else
            ui::Message(this, tr("地址设置失败"), tr("警告"), ui::BoxIcon::Question);
    });
}

void MainDialog::SetBaud() {
    // A raw TCP server keeps its line's rate: a device moved to another one could not be
    // reached until the server is set to match, so nothing is sent.
    if (!link_.Port().CanSetRate()) {
        ui::Message(this, tr("网络串口不能修改波特率"), tr("警告"), ui::BoxIcon::Warning);
        return;
    }
    const std::optional<std::uint8_t> address = AddressEntry();
    if (!address) return;
    const std::optional<double> baud = protocol::ParseEntryNumber(baud_->text().toStdString());
    if (!baud || (*baud != 2400 && *baud != 4800 && *baud != 9600)) {
        ui::Message(this, tr("波特率错误"));
        return;
    }
    const auto rate = static_cast<std::uint32_t>(*baud);
    if (!device::SetBaud(link_, found_, *address, rate)) {
        ui::Message(this, tr("波特率设置失败"), tr("警告"), ui::BoxIcon::Question);
        return;
    }
    ui::Message(this, tr("波特率设置成功"));
    // The port stays at its old rate in the comm block modes: the device answers at the new
    // one only from now on.
    if (found_.mode != device::Addressing::Frame) return;
    // Follow the device to its new rate on the port it was found on, whatever the selector
    // shows now.
    const std::string path = foundPort_.empty() ? SelectedPortPath() : foundPort_;
    if (!link_.Reopen(path, found_.baud))
        ui::Message(this, ui::OpenFailedText(link_.Port().LastOpenError()), tr("串口提示"),
                    ui::BoxIcon::Stop);
}

}  // namespace app
