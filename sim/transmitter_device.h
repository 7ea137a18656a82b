#pragma once
// The temperature/humidity transmitter that also serves as the wireless gateway: one model
// for everything Quillet talks to. It keeps
//  - the Modbus register bank (live values 0-6, the LCD/relay registers 0x002D, 0x002F and
//    0x0030) and its addressing: the FD frame, or the comm block at 0xFF (RegisterDevice);
//  - every parameter of the FC frame (codes 1-8 and 11-15), read and written by code;
//  - the gateway state of the FB frames: configuration mode, sleep time, channel, the
//    200-node table and, when the model has it, the relay block.
// Like the real gateway it answers its FB commands only in configuration mode; the relay
// commands only when it has relay support. Writes of either frame family are answered with
// an echo of the request (parameter writes, if so configured, with an 11-byte report).
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>

#include "device.h"
#include "register_device.h"
#include "wireless_frames.h"

namespace sim {

struct TransmitterConfig {
    RegisterDeviceConfig link;  // address, baud rate, addressing mode, comm block
    bool relaySupport = false;  // the configuration-mode reply carries 55 AA and the relay block
    // A parameter write is answered with the 11-byte report (code, operation, the value
    // written, a second value) instead of the 9-byte echo.
    bool reportParameterWrites = false;
    protocol::GatewayState gateway;
    std::uint8_t channel = 0;
};

using ParameterMap = std::map<std::uint8_t, std::uint16_t>;

class TransmitterDevice : public Device {
  public:
    TransmitterDevice(TransmitterConfig config, RegisterMap registers, ParameterMap parameters,
                      LiveUpdate live = {});

    std::size_t RequestLength(const std::uint8_t* bytes, std::size_t n) const override;
    Bytes Answer(const std::uint8_t* request, std::size_t n) override;
    void AfterReply() override { registers_.AfterReply(); }
    std::uint32_t Baud() const override { return registers_.Baud(); }
    void Tick(double seconds) override { registers_.Tick(seconds); }

    // The register bank with its address, baud rate and comm block.
    RegisterDevice& Registers() { return registers_; }

    // nullopt for a code the transmitter does not have.
    std::optional<std::uint16_t> Parameter(std::uint8_t code) const;
    void SetParameter(std::uint8_t code, std::uint16_t value);

    bool InConfigMode() const;
    protocol::GatewayState Gateway() const;
    void SetGateway(const protocol::GatewayState& state);
    std::uint8_t Channel() const;

    // The parameter codes every transmitter has, with the values a new one leaves the
    // factory with.
    static ParameterMap DefaultParameters();

  private:
    Bytes AnswerParameter(const std::uint8_t* request);
    Bytes AnswerGateway(const std::uint8_t* request);
    Bytes GatewayReport(std::uint8_t command) const;
    Bytes GatewayCommand(const std::uint8_t* request, std::size_t n);

    RegisterDevice registers_;
    mutable std::mutex mutex_;  // guards what follows
    TransmitterConfig config_;
    ParameterMap parameters_;
    bool configMode_ = false;
};

}  // namespace sim
