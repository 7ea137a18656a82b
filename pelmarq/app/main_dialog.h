#pragma once
// Pelmarq's main window: port selector and scan, the device address and baud-rate commands,
// and the ten sensor categories with the once-a-second refresh of the visible page.
#include <QDialog>
#include <QTimer>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device_commands.h"
#include "register_frames.h"
#include "serial_link.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace pages {
class DevicePage;
}

namespace ui {
class PortSelector;
class StatusLine;
class ValueLog;
class WirePanels;
}  // namespace ui

namespace app {

struct PortChoice {
    std::string path;
    std::string label;
};

class MainDialog : public QDialog {
    Q_OBJECT
  public:
    // `ports`: the ports to offer; `select`: the path to select (the first port when it is
    // not among them); `note`: a line shown under the port group (demo device, permission
    // hint).
    MainDialog(const std::vector<PortChoice>& ports, const std::string& select, const QString& note,
               QWidget* parent = nullptr);
    ~MainDialog() override;

    transport::SerialLink& Link() { return link_; }
    ui::PortSelector& Ports() { return *ports_; }
    ui::StatusLine& Status() { return *status_; }
    // The traffic and trend panels.
    ui::WirePanels& Panels() { return *panels_; }
    // Appends every value the real-time refresh reads to the CSV file at `path` from the
    // next tick on. False, with the reason in `error`, when it cannot be written.
    bool StartLog(const QString& path, QString* error = nullptr);
    void StopLog();
    // "温湿度类 / 温湿度": the category and page shown.
    QString PageName() const;
    // The page that the two tab selections designate (nullptr when none).
    pages::DevicePage* SelectedPage() const;
    // One tick of the real-time refresh.
    void RealtimeTick();
    // Shows the page of a kind of device (its simulator's name, "co2"); false when no page
    // shows that device.
    bool ShowPageOf(std::string_view device);

    bool BroadcastMode() const { return found_.mode == device::Addressing::Broadcast; }
    bool ZeroAddressMode() const { return found_.mode == device::Addressing::Zero; }

  private:
    void BuildUi(const std::vector<PortChoice>& ports, const std::string& select,
                 const QString& note);
    void EnablePortControls(bool on);
    void EnableCommands(bool on);
    std::string SelectedPortPath() const;

    // Scan for the device (baud_scan.cpp).
    void Scan();
    // What is wrong with the line of the selected port (the "诊断" button).
    void Diagnose();
    // The log button: a file chosen in a dialog, or the log stopped.
    void LogClicked(bool on);
    // What a probe found, in the fields and a box.
    void ShowFrameResult();
    void ShowCommBlockResult();
    void ShowAddressAndBaud();
    // Address and baud-rate commands (address_commands.cpp).
    void Query();
    void SetAddress();
    void SetBaud();
    // The address entry; nullopt after the box that refuses it (no number, 0, beyond 255).
    std::optional<std::uint8_t> AddressEntry();

    transport::SerialLink link_;

    ui::PortSelector* ports_ = nullptr;
    QPushButton* scan_ = nullptr;
    QLineEdit* address_ = nullptr;
    QLineEdit* baud_ = nullptr;
    QPushButton* commands_[4] = {};  // 1004, 1005, 1006, 1007
    QTabWidget* categories_ = nullptr;
    ui::StatusLine* status_ = nullptr;
    QPushButton* diagnose_ = nullptr;
    ui::WirePanels* panels_ = nullptr;
    QPushButton* logButton_ = nullptr;
    std::unique_ptr<ui::ValueLog> log_;
    QTimer busyTimer_;      // timer 1: clears the busy flag every 300 ms
    QTimer realtimeTimer_;  // timer 5: the real-time refresh every 1000 ms

    bool busy_ = false;
    // The device the last scan found, its addressing mode and what it last reported.
    device::FoundDevice found_;
    std::string foundPort_;  // the port the device was found on
    bool deviceFound_ = false;  // the last scan found a device
};

}  // namespace app
