#pragma once
// Register operations on the device at the link's current address: one request per call,
// no retries, the result as an ExchangeStatus. Output values are untouched on failure.
#include <cstdint>

#include "exchange_status.h"
#include "frame_decoder.h"
#include "register_frames.h"
#include "serial_link.h"

namespace protocol {

class RegisterClient {
  public:
    explicit RegisterClient(transport::SerialLink& link) : link_(link) {}
    virtual ~RegisterClient() = default;

    ExchangeStatus ReadRegister(std::uint16_t reg, std::uint16_t* value);
    // Two registers, high word first.
    ExchangeStatus ReadRegisterPair(std::uint16_t reg, std::uint32_t* value);
    // Two registers taken as the bits of an IEEE-754 single, high word first.
    ExchangeStatus ReadFloat(std::uint16_t reg, float* value);
    ExchangeStatus WriteRegister(std::uint16_t reg, std::uint16_t value);
    ExchangeStatus WriteRegisterPair(std::uint16_t reg, std::uint32_t value);
    // `count` consecutive registers in one request (blocks of 3, 5, 19 registers).
    ExchangeStatus ReadRegisters(std::uint16_t reg, std::uint8_t count, std::uint16_t* values,
                                 const transport::WaitPolicy& wait = transport::kRegisterWait);

    transport::SerialLink& Link() { return link_; }
    // What became of the last call's exchange, in more detail than its status: Ok exactly
    // when the status was Ok; NotSent when the port was closed.
    Verdict LastVerdict() const { return lastVerdict_; }

  private:
    std::size_t Exchange(const Frame& request, const transport::WaitPolicy& wait);
    // Tells the link when a reply was accepted (a failed exchange makes the next request
    // wait out a late reply first).
    ExchangeStatus Concluded(ExchangeStatus status);
    // A closed port: nothing goes out.
    ExchangeStatus NotSent();

    transport::SerialLink& link_;
    std::uint8_t reply_[transport::SerialLink::kReplySize] = {};
    Verdict lastVerdict_ = Verdict::None;
};

}  // namespace protocol
