#include "address_commands.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <optional>
#include <string>

#include "dialog_text.h"
#include "entry_text.h"
#include "message_box.h"
#include "port_messages.h"
#include "port_selector.h"
#include "register_frames.h"
#include "status_line.h"
#include "transmitter_dialog.h"

namespace quillet {
namespace {

constexpr std::uint32_t kScanRates[] = {2400, 4800, 9600};
constexpr std::uint32_t kBroadcastRate = 9600;

template <class T>
T* Control(TransmitterDialog& dialog, int id) {
    return dialog.findChild<T*>(QString::number(id));
}

std::string EntryOf(TransmitterDialog& dialog, int id) {
    return Control<QLineEdit>(dialog, id)->text().toStdString();
}

// The address entry, or nullopt after the box that refuses it (no number, 0, beyond 255).
std::optional<std::uint8_t> AddressEntry(TransmitterDialog& dialog) {
    const protocol::EntryValue entry =
        protocol::ConvertEntryText(EntryOf(dialog, 1012), protocol::EntryRange::Unsigned8);
    switch (entry.error) {
        case protocol::EntryError::NotANumber:
            NumberRefused(&dialog, false);
            return std::nullopt;
        case protocol::EntryError::OutOfRange:
            ui::Message(&dialog, Tr("地址超出范围(1-255)"), Tr("警告"), ui::BoxIcon::Warning);
            return std::nullopt;
        case protocol::EntryError::None:
            break;
    }
    if (entry.bits == 0) {
        ui::Message(&dialog, Tr("地址不能为0"));
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(entry.bits);
}

void Warn(TransmitterDialog& dialog, const char* text) {
    ui::Message(&dialog, Tr(text), Tr("警告"), ui::BoxIcon::Question);
}

}  // namespace

AddressCommands::AddressCommands(TransmitterDialog& dialog) : dialog_(dialog) {
    const struct {
        int id;
        void (AddressCommands::*handler)();
    } wiring[] = {{1001, &AddressCommands::Scan},
                  {1007, &AddressCommands::Query},
                  {1008, &AddressCommands::Query},
                  {1003, &AddressCommands::SetAddress},
                  {1004, &AddressCommands::SetBaud}};
    for (const auto& w : wiring)
        QObject::connect(Control<QPushButton>(dialog, w.id), &QPushButton::clicked,
                         [this, handler = w.handler] { (this->*handler)(); });
}

bool AddressCommands::Reopen(const std::string& path, std::uint32_t baud) {
    if (!dialog_.Link().Reopen(path, baud)) return false;
    dialog_.Ports().Used(path);
    return true;
}

void AddressCommands::OpenFailed(const QString& caption, ui::BoxIcon icon) {
    ui::Message(&dialog_, ui::OpenFailedText(dialog_.Link().Port().LastOpenError()), caption, icon);
}

void AddressCommands::EnableScan(bool on) {
    Control<QPushButton>(dialog_, 1001)->setEnabled(on);
    Control<QComboBox>(dialog_, 1000)->setEnabled(on);
}

void AddressCommands::ShowDevice() {
    TransmitterClient& client = dialog_.Client();
    Control<QLineEdit>(dialog_, 1012)->setText(QString::number(client.Address()));
    Control<QLineEdit>(dialog_, 1013)->setText(QString::number(client.Baud()));
}

void AddressCommands::Scan() {
    TransmitterClient& client = dialog_.Client();
    client.SetBroadcast(false);
    found_ = false;
    const std::string path = dialog_.SelectedPath();
    const auto openFailed = [this] {
        OpenFailed(Tr("警告"), ui::BoxIcon::Question);
        EnableScan(true);
    };
    // A server that keeps its line's rate (raw TCP) is connected once and each request goes
    // once, at that rate: one pass, and the rate shown is the one the device reports.
    const bool fixedRate = transport::SerialPort::FixedRate(path);
    if (fixedRate && !Reopen(path, 0)) return openFailed();
    for (std::uint32_t baud : kScanRates) {
        if (!fixedRate && !Reopen(path, baud)) return openFailed();
        EnableScan(false);
        // The window is blocked for the wait; the status line says which rate is tried.
        dialog_.Status().Probing(fixedRate ? 0 : baud);
        const bool found = client.SendAddressFrame(0, 0);
        dialog_.Status().EndProgress();
        if (!found) {
            if (fixedRate) break;
            continue;
        }
        ShowDevice();
        foundPath_ = path;
        found_ = true;
        ui::Message(&dialog_,
                    Tr("设备地址：%1  波特率：%2").arg(client.Address()).arg(client.Baud()),
                    Tr("测试结果"), ui::BoxIcon::None);
        EnableScan(true);
        dialog_.EnableCommands(true);
        return;
    }

    if (!fixedRate && !Reopen(path, kBroadcastRate)) return openFailed();
    EnableScan(false);
    dialog_.Status().Probing(fixedRate ? 0 : kBroadcastRate);
    const bool found = client.ReadCommBlock();
    dialog_.Status().EndProgress();
    if (!found) {
        EnableScan(true);
        ui::Message(&dialog_, Tr("测试结束 未知波特率"), Tr("测试结果"), ui::BoxIcon::None);
        dialog_.Status().Hint(Tr("可点击“诊断”查看原因"));
        return;
    }
    ShowDevice();
    foundPath_ = path;
    found_ = true;
    const protocol::CommBlock& block = client.Block();
    QString text =
        Tr("土壤水分变送器\r\n地址：%1  波特率：%2\r\n").arg(client.Address()).arg(client.Baud()) +
        Tr(protocol::ParityText(block.parity));
    if (block.stop1 != 0 || block.stop2 != 0) {
        text += Tr("\r\n停止位异常,请重新配置地址或波特率");
        ui::Message(&dialog_, text, Tr("测试结果异常"), ui::BoxIcon::Question);
    } else {
        ui::Message(&dialog_, text, Tr("测试结果"), ui::BoxIcon::None);
    }
    EnableScan(true);
    dialog_.EnableCommands(true);
    client.SetBroadcast(true);
}

void AddressCommands::Query() {
    if (!dialog_.Busy().TryTake()) return;
    Control<QLineEdit>(dialog_, 1012)->clear();
    Control<QLineEdit>(dialog_, 1013)->clear();
    TransmitterClient& client = dialog_.Client();
    const bool ok = client.Broadcast() ? client.ReadCommBlock() : client.SendAddressFrame(0, 0);
    if (ok) ShowDevice();
}

void AddressCommands::SetAddress() {
    const std::optional<std::uint8_t> entry = AddressEntry(dialog_);
    if (!entry) return;
    const std::uint8_t address = *entry;
    TransmitterClient& client = dialog_.Client();
    bool ok = false;
    if (client.Broadcast()) {
        // Write back the baud code the device reported: a new address keeps its rate.
        const std::uint8_t code = client.Block().baudCode;
        ok = client.WriteCommBlock(address, code);
        if (ok) client.StoreCommBlock(address, code);
    } else {
        ok = client.SendAddressFrame(0, address);
    }
    if (ok) {
        ui::Message(&dialog_, Tr("地址设置成功"));
    } else {
        Warn(dialog_, "地址设置失败");
    }
}

void AddressCommands::SetBaud() {
    // A raw TCP server keeps its line's rate: a device moved to another one could not be
    // reached until the server is set to match, so nothing is sent.
    if (!dialog_.Link().Port().CanSetRate())
        return ui::Message(&dialog_, Tr("网络串口不能修改波特率"), Tr("警告"),
                           ui::BoxIcon::Warning);
    const std::optional<double> entry = protocol::ParseEntryNumber(EntryOf(dialog_, 1013));
    if (!entry || (*entry != 2400 && *entry != 4800 && *entry != 9600))
        return ui::Message(&dialog_, Tr("波特率错误"));
    const auto baud = static_cast<std::uint32_t>(*entry);
    const std::uint8_t code = protocol::AddressFrameCodeFor(baud);
    TransmitterClient& client = dialog_.Client();
    if (client.Broadcast()) {
        // The comm block numbers 2400, 4800 and 9600 as the FD frame does (1, 2, 3). The
        // port stays at its rate: the device is found at 9600 in this mode.
        if (!client.WriteCommBlock(client.Address(), code)) return Warn(dialog_, "波特率设置失败");
        client.StoreCommBlock(client.Address(), code);
        ui::Message(&dialog_, Tr("波特率设置成功"));
        return;
    }
    if (!client.SendAddressFrame(code, 0)) return Warn(dialog_, "波特率设置失败");
    ui::Message(&dialog_, Tr("波特率设置成功"));
    if (!Reopen(foundPath_, baud)) OpenFailed(Tr("串口提示"), ui::BoxIcon::Stop);
}

}  // namespace quillet
