#include "telnet_stream.h"

namespace transport {
namespace {

using namespace telnet;

// What this end performs when asked: binary transmission, no go-ahead and the com port
// control. Anything else (echo, terminal type, line mode...) would change the bytes of a
// serial line or means nothing to one.
bool WeAccept(std::uint8_t option) {
    return option == kBinary || option == kSuppressGoAhead || option == kComPort;
}

// What the server may perform: binary transmission and no go-ahead. Its echo would send our
// requests back to us as replies.
bool WeLetHim(std::uint8_t option) {
    return option == kBinary || option == kSuppressGoAhead;
}

}  // namespace

TelnetStream::State& TelnetStream::At(Side side, std::uint8_t option) {
    return side == Side::Us ? us_[option] : him_[option];
}

TelnetStream::State TelnetStream::StateOf(Side side, std::uint8_t option) const {
    return side == Side::Us ? us_[option] : him_[option];
}

void TelnetStream::Put(std::uint8_t verb, std::uint8_t option) {
    outgoing_.insert(outgoing_.end(), {kIac, verb, option});
}

void TelnetStream::Ask(Side side, std::uint8_t option) {
    State& state = At(side, option);
    if (state == State::On || state == State::Asked) return;
    state = State::Asked;
    Put(side == Side::Us ? kWill : kDo, option);
}

// Answers in the way that cannot loop: a request for what is already so gets no answer, an
// answer to our own request is only noted.
void TelnetStream::Command(std::uint8_t verb, std::uint8_t option) {
    const bool positive = verb == kWill || verb == kDo;
    const Side side = (verb == kDo || verb == kDont) ? Side::Us : Side::Him;
    State& state = At(side, option);
    const std::uint8_t yes = side == Side::Us ? kWill : kDo;
    const std::uint8_t no = side == Side::Us ? kWont : kDont;
    if (positive) {
        if (state == State::On) return;
        if (state == State::Asked) {
            state = State::On;
            return;
        }
        const bool accept = side == Side::Us ? WeAccept(option) : WeLetHim(option);
        if (accept) state = State::On;
        Put(accept ? yes : no, option);
        return;
    }
    if (state == State::On) {
        state = State::Off;
        Put(no, option);
    } else if (state == State::Asked) {
        state = State::Refused;
    }
}

void TelnetStream::EndSubnegotiation() {
    received_.push_back(std::move(sb_));
    sb_ = {};
}

bool TelnetStream::AfterIac(std::uint8_t b) {
    parse_ = Parse::Data;
    if (b == kIac) return true;
    if (b == kSb) {
        parse_ = Parse::SbOption;
    } else if (b >= kWill) {
        verb_ = b;
        parse_ = Parse::Verb;
    }
    // Any other command (NOP, go-ahead, data mark, break...) carries no data.
    return false;
}

std::size_t TelnetStream::Receive(const std::uint8_t* bytes, std::size_t n, std::uint8_t* data) {
    std::size_t out = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint8_t b = bytes[i];
        switch (parse_) {
            case Parse::Data:
                if (b == kIac) {
                    parse_ = Parse::Iac;
                    break;
                }
                // Without binary transmission the server pads a bare CR with a NUL.
                if (b == 0 && afterCr_ && him_[kBinary] != State::On) {
                    afterCr_ = false;
                    break;
                }
                afterCr_ = b == '\r';
                data[out++] = b;
                break;
            case Parse::Iac:
                if (AfterIac(b)) {
                    afterCr_ = false;
                    data[out++] = b;
                }
                break;
            case Parse::Verb:
                parse_ = Parse::Data;
                Command(verb_, b);
                break;
            case Parse::SbOption:
                sb_.option = b;
                parse_ = Parse::SbData;
                break;
            case Parse::SbData:
                if (b == kIac) {
                    parse_ = Parse::SbIac;
                } else if (sb_.payload.size() < kMaxPayload) {
                    sb_.payload.push_back(b);
                }
                break;
            case Parse::SbIac:
                if (b == kIac) {
                    if (sb_.payload.size() < kMaxPayload) sb_.payload.push_back(b);
                    parse_ = Parse::SbData;
                    break;
                }
                EndSubnegotiation();
                parse_ = Parse::Data;
                // A command inside a subnegotiation ends it; the byte is that command.
                if (b != kSe) AfterIac(b);  // never IAC here: that was payload
                break;
        }
    }
    return out;
}

void TelnetStream::SendData(const std::uint8_t* bytes, std::size_t n) {
    const bool binary = us_[kBinary] == State::On;
    for (std::size_t i = 0; i < n; ++i) {
        outgoing_.push_back(bytes[i]);
        if (bytes[i] == kIac) outgoing_.push_back(kIac);
        if (bytes[i] == '\r' && !binary) outgoing_.push_back(0);
    }
}

void TelnetStream::SendSubnegotiation(std::uint8_t option,
                                      const std::vector<std::uint8_t>& payload) {
    outgoing_.insert(outgoing_.end(), {kIac, kSb, option});
    for (const std::uint8_t b : payload) {
        outgoing_.push_back(b);
        if (b == kIac) outgoing_.push_back(kIac);
    }
    outgoing_.insert(outgoing_.end(), {kIac, kSe});
}

std::vector<std::uint8_t> TelnetStream::TakeOutgoing() {
    std::vector<std::uint8_t> bytes;
    bytes.swap(outgoing_);
    return bytes;
}

std::vector<TelnetStream::Subnegotiation> TelnetStream::TakeSubnegotiations() {
    std::vector<Subnegotiation> taken;
    taken.swap(received_);
    return taken;
}

}  // namespace transport
