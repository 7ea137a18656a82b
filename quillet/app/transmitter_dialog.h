#pragma once
// Quillet's one window: the port, the scan, address and baud rate, the transmitter's live
// values and parameters, and the doors to the wireless and auxiliary dialogs. It owns the
// link (port, queues, reader thread), so the reader thread ends with the dialog.
#include <QDialog>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "busy_flag.h"
#include "port_discovery.h"
#include "serial_link.h"
#include "transmitter_client.h"
#include "wireless_frames.h"

class QGridLayout;
class QLabel;
class QPushButton;

namespace ui {
class PortSelector;
class StatusLine;
class ValueLog;
class WirePanels;
}  // namespace ui

namespace quillet {

class AddressCommands;
class ParameterCommands;

class TransmitterDialog : public QDialog {
    Q_OBJECT

  public:
    static constexpr std::uint32_t kStartBaud = 4800;

    // Lists `ports` in the selector and opens the one at `select` (the first when none is
    // given or it is not listed) at 4800 baud.
    explicit TransmitterDialog(const std::vector<transport::PortEntry>& ports,
                               const std::string& select = {}, QWidget* parent = nullptr);
    ~TransmitterDialog() override;

    // A line at the bottom of the window: the demo's simulated device, a port hint.
    void SetNote(const QString& text);
    // The line under it: progress of a long wait, or that the port was lost.
    ui::StatusLine& Status() { return *status_; }
    ui::PortSelector& Ports() { return *ports_; }
    // The traffic panel.
    ui::WirePanels& Panels() { return *panels_; }
    // Appends every live value a query reads (temperature, humidity, ...) to the CSV file at
    // `path`. False, with the reason in `error`, when it cannot be written.
    bool StartLog(const QString& path, QString* error = nullptr);
    ui::ValueLog& Log() { return *log_; }

    transport::SerialLink& Link() { return link_; }
    TransmitterClient& Client() { return client_; }
    BusyFlag& Busy() { return busy_; }
    const protocol::GatewayState& Gateway() const { return gateway_; }

    // The path of the port chosen in the selector ("" when there is none).
    std::string SelectedPath() const;
    // Every command button except the port selector and the scan.
    void EnableCommands(bool on);

  private:
    void BuildLayout();
    QGridLayout* AddGroup(QLayout* parent);
    void OpenAtStart();
    void ConfigureWireless();
    // What is wrong with the line of the selected port (the "诊断" button).
    void Diagnose();

    transport::SerialLink link_;
    TransmitterClient client_{link_};
    BusyFlag busy_;
    protocol::GatewayState gateway_;
    ui::PortSelector* ports_ = nullptr;
    QLabel* note_ = nullptr;
    ui::StatusLine* status_ = nullptr;
    ui::WirePanels* panels_ = nullptr;
    std::unique_ptr<ui::ValueLog> log_;
    std::vector<QPushButton*> commands_;
    std::unique_ptr<AddressCommands> address_;
    std::unique_ptr<ParameterCommands> parameters_;
};

}  // namespace quillet
