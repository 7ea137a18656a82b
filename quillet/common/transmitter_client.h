#pragma once
// Quillet's exchanges with the transmitter over the dialog's link: each builds its frame,
// runs one request/reply cycle and applies its family's acceptance rule. A reply under
// 4 bytes is a failure; so is any reply too short to hold what the rule takes.
#include <cstdint>
#include <string>

#include "frame_decoder.h"
#include "register_frames.h"
#include "serial_link.h"
#include "wireless_frames.h"

namespace quillet {

class TransmitterClient {
  public:
    explicit TransmitterClient(transport::SerialLink& link) : link_(link) {}

    transport::SerialLink& Link() { return link_; }

    // Broadcast mode: the device was found through the comm block at 0xFF. Register reads
    // then go to 0xFF too and accept a reply from 0xFF or from the address it reported.
    bool Broadcast() const { return broadcast_; }
    void SetBroadcast(bool on) { broadcast_ = on; }
    std::uint8_t Address() const { return link_.DeviceAddress(); }
    std::uint32_t Baud() const { return baud_; }
    // The comm block the device last reported (broadcast mode).
    const protocol::CommBlock& Block() const { return block_; }

    // FD FD FD code address; a reply that reports what a set asked for (the query: any FD
    // reply) stores its address and baud rate.
    bool SendAddressFrame(std::uint8_t code, std::uint8_t address);
    // The comm block at 0xFF; an accepted reply stores address, baud rate and the block.
    bool ReadCommBlock();
    // The 19-byte comm block write at 0xFF (registers 0x0200-0x0204: address, baud code),
    // confirmed by an 8-byte reply from 0xFF, the device's address or the new one.
    bool WriteCommBlock(std::uint8_t address, std::uint8_t baudCode);
    // After a successful write in broadcast mode: what the device holds now.
    void StoreCommBlock(std::uint8_t address, std::uint8_t baudCode);

    // `count` registers from `reg`, at the address the mode gives.
    bool ReadRegisters(std::uint16_t reg, std::uint8_t count, std::uint16_t* values);

    // One register at the device's own address, whatever the mode (the LCD/relay
    // registers); the reply may come from that address, or from 0xFF in broadcast mode.
    bool ReadDeviceRegister(std::uint16_t reg, std::uint16_t* value);
    // Function 6 at the device's own address; Ok only when the reply echoes the request's 8
    // bytes. NoReply: nothing (or under 4 bytes) came back; CheckFailed: the reply differs.
    protocol::ExchangeStatus WriteDeviceRegister(std::uint16_t reg, std::uint16_t value);

    bool ReadParameter(std::uint8_t code, std::uint16_t* value);
    // Confirmed by a reply with the parameter's code and the value written.
    bool WriteParameter(std::uint8_t code, std::uint16_t value);
    // A parameter write the device must echo byte for byte (the light thresholds).
    bool WriteParameterEchoed(std::uint8_t code, std::uint16_t value);

    // Enter and leave the gateway's configuration mode (the long wait).
    bool EnterConfigMode(protocol::GatewayState* state);
    bool ExitConfigMode();

    // The gateway's commands in configuration mode; `index` is the node address minus 1.
    // Configuring a node waits longer and refreshes `state` from the reply as entering does.
    bool ConfigureNode(std::uint8_t index, protocol::GatewayState* state);
    bool ClearNode(std::uint8_t index);
    bool ReadSleepTime(std::uint16_t* seconds);
    bool WriteSleepTime(std::uint16_t seconds);
    bool ReadChannel(std::uint8_t* channel);
    bool WriteChannel(std::uint8_t channel);
    bool ReadClimate(std::uint16_t* temperature, std::uint16_t* humidity);
    bool ReadRelay(protocol::RelayParameters* out);
    bool WriteRelay(const protocol::RelayParameters& parameters);

    // What became of the last command's exchange, judged as that command's check judges it
    // (Ok exactly when the command succeeded), in more detail; NotSent when the port was
    // closed.
    protocol::Verdict LastVerdict() const { return lastVerdict_; }

  private:
    bool ReadRegistersAt(std::uint8_t target, std::uint16_t reg, std::uint8_t count,
                         std::uint16_t* values);
    // A gateway set confirmed by a gateway reply carrying its command and no other value.
    bool WirelessCommand(const protocol::Frame& request);
    // Passes `ok` through, telling the link when a reply was accepted (a failed exchange makes
    // the next request wait out a late reply first).
    bool Accepted(bool ok);
    // The reply's length, or 0 for no reply, a reply under 4 bytes or a closed port. The
    // verdict on the reply is kept with what the command's check allows beyond the request.
    std::size_t Exchange(const protocol::Frame& request,
                         const transport::WaitPolicy& wait = transport::kRegisterWait,
                         const protocol::ReplyContext& context = {});

    transport::SerialLink& link_;
    bool broadcast_ = false;
    std::uint32_t baud_ = 0;
    protocol::CommBlock block_;
    std::uint8_t reply_[transport::SerialLink::kReplySize] = {};
    protocol::Verdict lastVerdict_ = protocol::Verdict::None;
};

}  // namespace quillet
