#pragma once
// Finding the transmitter and changing its address and baud rate: the scan (the FD frame
// at 2400, 4800 and 9600, then the comm block at 0xFF at 9600, which puts the dialog into
// broadcast mode), the address/baud queries and the two set commands in both modes.
#include <QString>
#include <cstdint>
#include <string>

#include "message_box.h"

namespace quillet {

class TransmitterDialog;

class AddressCommands {
  public:
    // Wires the buttons 1001, 1003, 1004, 1007 and 1008 of `dialog`.
    explicit AddressCommands(TransmitterDialog& dialog);

    void Scan();
    void Query();
    void SetAddress();
    void SetBaud();

    // The last scan found the device.
    bool Found() const { return found_; }
    // The port was re-opened elsewhere (the diagnosis): a scan must find the device again.
    void Forget() { found_ = false; }

  private:
    // Opens `path` at `baud` (a network port opened is remembered for the next start).
    bool Reopen(const std::string& path, std::uint32_t baud);
    // The box of a failed open, with the reason where one is known.
    void OpenFailed(const QString& caption, ui::BoxIcon icon);
    void EnableScan(bool on);
    void ShowDevice();

    TransmitterDialog& dialog_;
    // The port the device was found on; a baud change re-opens this one, whatever the
    // selector shows by then.
    std::string foundPath_;
    bool found_ = false;
};

}  // namespace quillet
