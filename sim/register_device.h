#pragma once
// A Modbus RTU field device with a bank of holding registers (functions 3, 6 and 16, echo
// replies for writes, exception replies for anything else), its address and baud rate, and
// one of three ways to be found: the address-less FD frame, or the comm block at 0x0200 that
// it answers at the fixed address 0xFF, or at 0x00.
//
// A new baud rate, whether set by the FD frame or by the comm block, takes effect right
// after the device has sent its reply (the reply still goes out at the old rate).
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>

#include "device.h"

namespace sim {

enum class AddressingMode { Frame, Broadcast, Zero };

struct RegisterDeviceConfig {
    std::uint8_t address = 1;
    std::uint32_t baud = 9600;
    AddressingMode mode = AddressingMode::Frame;
    std::uint8_t parity = 0;  // comm block parity code
    std::uint8_t stop1 = 0;   // comm block stop-bit status words (normal: 0 and 1)
    std::uint8_t stop2 = 1;
    // Baud code the comm block reports instead of the real one (-1: the real one).
    int reportedBaudCode = -1;
    // A function-16 write to the fixed address (0xFF or 0) is answered from the device's own
    // address as it stands after the write, not from the address it was sent to.
    bool answerWritesFromOwnAddress = false;
};

using RegisterMap = std::map<std::uint16_t, std::uint16_t>;
// Moves live values; gets the registers and the time since start in seconds.
using LiveUpdate = std::function<void(RegisterMap&, double)>;

class RegisterDevice : public Device {
  public:
    explicit RegisterDevice(RegisterDeviceConfig config, RegisterMap registers = {},
                            LiveUpdate live = {});

    std::size_t RequestLength(const std::uint8_t* bytes, std::size_t n) const override;
    Bytes Answer(const std::uint8_t* request, std::size_t n) override;
    void AfterReply() override;
    std::uint32_t Baud() const override;
    void Tick(double seconds) override;

    std::uint8_t Address() const;
    void SetRegister(std::uint16_t reg, std::uint16_t value);
    // nullopt when the device has no such register.
    std::optional<std::uint16_t> Register(std::uint16_t reg) const;
    void SetCommBlock(std::uint8_t parity, std::uint8_t stop1, std::uint8_t stop2,
                      int reportedBaudCode = -1);
    // Stops the live values (tests read fixed values).
    void Freeze();

  private:
    bool ListensTo(std::uint8_t address) const;
    bool ReadRegisterLocked(std::uint16_t reg, std::uint16_t* value) const;
    bool WriteRegisterLocked(std::uint16_t reg, std::uint16_t value);
    Bytes AnswerAddressFrame(const std::uint8_t* request);
    Bytes AnswerModbus(const std::uint8_t* request, std::size_t n);

    mutable std::mutex mutex_;
    RegisterDeviceConfig config_;
    RegisterMap registers_;
    LiveUpdate live_;
    bool frozen_ = false;
    std::uint32_t pendingBaud_ = 0;
};

// Appends the Modbus CRC to a reply.
void AppendCrc(Bytes& bytes);
Bytes ExceptionReply(std::uint8_t address, std::uint8_t function, std::uint8_t code);

}  // namespace sim
