#pragma once
// Pelmarq's main window: port selector and scan, the device address and baud-rate commands,
// and the ten sensor categories with the once-a-second refresh of the visible page.
#include <QDialog>
#include <QTimer>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
    // The page that the two tab selections designate (nullptr when none).
    pages::DevicePage* SelectedPage() const;
    // One tick of the real-time refresh.
    void RealtimeTick();
    // Shows the page of a kind of device (its simulator's name, "co2"); false when no page
    // shows that device.
    bool ShowPageOf(std::string_view device);

    bool BroadcastMode() const { return broadcast_; }
    bool ZeroAddressMode() const { return zeroAddress_; }

  private:
    void BuildUi(const std::vector<PortChoice>& ports, const std::string& select,
                 const QString& note);
    void EnablePortControls(bool on);
    void EnableCommands(bool on);
    std::size_t Exchange(const protocol::Frame& request);
    // Passes `ok` through, telling the link when a reply was accepted (a failed exchange
    // makes the next request wait out a late reply first).
    bool Accepted(bool ok);
    std::string SelectedPortPath() const;

    // Scan for the device (baud_scan.cpp).
    void Scan();
    bool AcceptAddressFrame(std::size_t n);
    bool AcceptCommBlock(std::size_t n, std::uint8_t fixedAddress);
    // Takes what a comm block read reported and shows address and baud rate.
    void TakeCommBlock(const protocol::CommBlock& block);
    // Address and baud-rate commands (address_commands.cpp).
    void Query();
    void SetAddress();
    void SetBaud();
    // The address entry; nullopt after the box that refuses it (no number, 0, beyond 255).
    std::optional<std::uint8_t> AddressEntry();
    // A comm block write confirmed by its reply; the new address is then the device's.
    bool WriteCommBlock(std::uint8_t slave, std::uint8_t address, std::uint8_t baudCode,
                        std::uint16_t lastRegister);
    std::uint8_t CommBlockBaudCode() const;

    transport::SerialLink link_;
    std::uint8_t reply_[transport::SerialLink::kReplySize] = {};

    ui::PortSelector* ports_ = nullptr;
    QPushButton* scan_ = nullptr;
    QLineEdit* address_ = nullptr;
    QLineEdit* baud_ = nullptr;
    QPushButton* commands_[4] = {};  // 1004, 1005, 1006, 1007
    QTabWidget* categories_ = nullptr;
    ui::StatusLine* status_ = nullptr;
    QTimer busyTimer_;      // timer 1: clears the busy flag every 300 ms
    QTimer realtimeTimer_;  // timer 5: the real-time refresh every 1000 ms

    std::uint32_t currentBaud_ = 0;
    bool busy_ = false;
    bool broadcast_ = false;
    bool zeroAddress_ = false;
    std::uint8_t parity_ = 0;
    std::uint8_t stop1_ = 0;
    std::uint8_t stop2_ = 0;
    std::uint8_t reportedBaudCode_ = 0xFF;  // comm block baud code as the device reported it
    std::uint8_t reportedAddress_ = 0;      // the device's own address in the comm block
    std::string foundPort_;                 // the port the device was found on
};

}  // namespace app
