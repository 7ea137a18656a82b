// The scan that finds the one device on the bus (the probes and what each accepts are in
// device_commands.h): the window opens the port at each rate, shows the rate tried and
// says what it found.
#include <QLineEdit>
#include <QPushButton>
#include <span>

#include "main_dialog.h"
#include "message_box.h"
#include "port_messages.h"
#include "port_selector.h"
#include "status_line.h"

namespace app {

void MainDialog::Scan() {
    // A new scan looks for whatever device is on the bus now, so it forgets both fixed-address
    // modes of the previous one: a device found by the FD frame must not be addressed as 0.
    found_.mode = device::Addressing::Frame;
    deviceFound_ = false;
    const std::string path = SelectedPortPath();
    const std::span<const device::ScanProbe> probes = device::ScanProbes(path);
    for (const device::ScanProbe& probe : probes) {
        // A line whose rate the server keeps (tcp://) is opened once, for the first probe.
        if (&probe == &probes.front() || probe.baud != 0) {
            if (!link_.Reopen(path, probe.baud)) {
                ui::Message(this, ui::OpenFailedText(link_.Port().LastOpenError()), tr("警告"),
                            ui::BoxIcon::Question);
                EnablePortControls(true);
                return;
            }
            ports_->Used(path);
        }
        EnablePortControls(false);
        // The window is blocked for the wait; the status line says which rate is tried.
        status_->Probing(probe.baud);
        device::FoundDevice found;
        const bool ok = device::RunProbe(link_, probe, &found);
        status_->EndProgress();
        if (ok) {
            found_ = found;
            foundPort_ = path;
            deviceFound_ = true;
            if (probe.kind == device::Addressing::Frame)
                ShowFrameResult();
            else
                ShowCommBlockResult();
            status_->Check();
            return;
        }
    }
    EnablePortControls(true);
    ui::Message(this, tr("测试结束 未知波特率"), tr("测试结果"), ui::BoxIcon::None);
    status_->Hint(tr("可点击“诊断”查看原因"));
}

void MainDialog::ShowFrameResult() {
    link_.SetDeviceAddress(found_.RegisterAddress());
    ShowAddressAndBaud();
    ui::Message(this, tr("设备地址：%1  波特率：%2").arg(found_.address).arg(found_.baud),
                tr("测试结果"), ui::BoxIcon::None);
    EnablePortControls(true);
    EnableCommands(true);
}

void MainDialog::ShowCommBlockResult() {
    ShowAddressAndBaud();
    QString text =
        tr("土壤变送器\r\n地址：%1  波特率：%2\r\n").arg(found_.address).arg(found_.baud) +
        tr(protocol::ParityText(found_.parity));
    if (found_.StopBitsOk()) {
        ui::Message(this, text, tr("测试结果"), ui::BoxIcon::None);
    } else {
        text += tr("\r\n停止位异常,请重新配置地址或波特率");
        ui::Message(this, text, tr("测试结果异常"), ui::BoxIcon::Question);
    }
    EnablePortControls(true);
    EnableCommands(true);
    // From now on every register operation goes to the fixed address; the address read from
    // the device is only shown.
    link_.SetDeviceAddress(found_.RegisterAddress());
}

void MainDialog::ShowAddressAndBaud() {
    address_->setText(QString::number(found_.address));
    baud_->setText(QString::number(found_.baud));
}

}  // namespace app
