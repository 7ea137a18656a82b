#include "transmitter_device.h"

#include "config_frames.h"
#include "modbus_crc.h"

namespace sim {
namespace {

using protocol::kConfigMarker;
using protocol::kWirelessMarker;

// Length of a gateway request, CRC included, by command and mode byte; 0 when unknown.
std::size_t GatewayRequestLength(std::uint8_t command, std::uint8_t mode) {
    switch (command) {
        case protocol::kEnterConfigMode:
        case protocol::kExitConfigMode:
            return 11;
        case protocol::kConfigureNode:
        case protocol::kClearNode:
            return 9;
        case protocol::kSleepTime:
            return mode == 0 ? 10 : 9;
        case protocol::kReadClimate:
            return 10;
        case protocol::kChannel:
            return 8;
        case protocol::kRelayParameters:
            return mode == 0 ? 8 : 10;
        default:
            return 0;
    }
}

void PutWord(Bytes& bytes, std::uint16_t word) {
    bytes.push_back(static_cast<std::uint8_t>(word >> 8));
    bytes.push_back(static_cast<std::uint8_t>(word & 0xFF));
}

// The display/relay control mode and the two relays belong to every transmitter.
RegisterMap WithControlRegisters(RegisterMap registers) {
    registers.try_emplace(0x2D, 1);
    registers.try_emplace(0x2F, 0);
    registers.try_emplace(0x30, 0);
    return registers;
}

Bytes Echo(const std::uint8_t* request, std::size_t n) {
    return Bytes(request, request + n);
}

constexpr std::uint8_t kChannels = 64;

}  // namespace

TransmitterDevice::TransmitterDevice(TransmitterConfig config, RegisterMap registers,
                                     ParameterMap parameters, LiveUpdate live)
    : registers_(config.link, WithControlRegisters(std::move(registers)), std::move(live)),
      config_(config),
      parameters_(std::move(parameters)) {}

ParameterMap TransmitterDevice::DefaultParameters() {
    return {
        {1, 3},       // temperature deviation +0.3
        {2, 0x8014},  // humidity deviation -2.0
        {3, 50},      // temperature upper limit
        {4, 0x800A},  // temperature lower limit -10
        {5, 90},      // humidity upper limit
        {6, 20},      // humidity lower limit
        {7, 10},      // temperature hysteresis 1.0
        {8, 30},      // humidity hysteresis 3.0
        {11, 5},      // remote-signal output delay
        {12, 0},      // contact type: normally open
        {13, 1000},   // light thresholds
        {14, 100},   {15, 50},
    };
}

std::size_t TransmitterDevice::RequestLength(const std::uint8_t* bytes, std::size_t n) const {
    if (n >= 1 && bytes[0] == kConfigMarker) return 9;
    if (n >= 1 && bytes[0] == kWirelessMarker) {
        if (n < 5) return 0;
        // An unknown command waits for bytes that never complete it; the line then drops
        // them after its resync gap.
        const std::size_t length = GatewayRequestLength(bytes[3], bytes[4]);
        return length ? length : n + 1;
    }
    return registers_.RequestLength(bytes, n);
}

Bytes TransmitterDevice::Answer(const std::uint8_t* request, std::size_t n) {
    if (n >= 1 && (request[0] == kConfigMarker || request[0] == kWirelessMarker)) {
        if (!protocol::CrcMatches(request, n) || request[1] != request[0] ||
            request[2] != request[0])
            return {};
        std::lock_guard lock(mutex_);
        if (request[0] == kConfigMarker) return AnswerParameter(request);
        return request[3] == protocol::kEnterConfigMode || request[3] == protocol::kExitConfigMode
                   ? AnswerGateway(request)
                   : GatewayCommand(request, n);
    }
    return registers_.Answer(request, n);
}

Bytes TransmitterDevice::AnswerParameter(const std::uint8_t* request) {
    const std::uint8_t code = request[3];
    const std::uint8_t operation = request[4];
    const auto it = parameters_.find(code);
    if (it == parameters_.end() || operation > protocol::kConfigWrite) return {};
    if (operation == protocol::kConfigWrite) {
        it->second = static_cast<std::uint16_t>(request[5] << 8 | request[6]);
        if (!config_.reportParameterWrites) return Echo(request, 9);
    }
    Bytes reply{kConfigMarker, kConfigMarker, kConfigMarker, code, operation};
    PutWord(reply, it->second);
    PutWord(reply, 0);
    AppendCrc(reply);
    return reply;
}

Bytes TransmitterDevice::GatewayReport(std::uint8_t command) const {
    Bytes reply{kWirelessMarker, kWirelessMarker, kWirelessMarker, command, 1};
    PutWord(reply, config_.gateway.sleepTime);
    reply.insert(reply.end(), config_.gateway.nodes.begin(), config_.gateway.nodes.end());
    // Bytes 32 to 38: channel, temperature, humidity, two reserved bytes.
    reply.push_back(config_.channel);
    PutWord(reply, registers_.Register(1).value_or(0));
    PutWord(reply, registers_.Register(0).value_or(0));
    PutWord(reply, 0);
    if (config_.relaySupport) {
        reply.insert(reply.end(),
                     {0x55, 0xAA, config_.gateway.relaySupport, config_.gateway.relayMode,
                      config_.gateway.relayChannel, config_.gateway.airRate});
    }
    AppendCrc(reply);
    return reply;
}

Bytes TransmitterDevice::AnswerGateway(const std::uint8_t* request) {
    switch (request[3]) {
        case protocol::kEnterConfigMode:
            configMode_ = true;
            return GatewayReport(protocol::kEnterConfigMode);
        case protocol::kExitConfigMode: {
            configMode_ = false;
            Bytes reply{kWirelessMarker,
                        kWirelessMarker,
                        kWirelessMarker,
                        protocol::kExitConfigMode,
                        1,
                        0,
                        0};
            AppendCrc(reply);
            return reply;
        }
        default:
            return {};
    }
}

Bytes TransmitterDevice::GatewayCommand(const std::uint8_t* request, std::size_t n) {
    if (!configMode_) return {};
    const std::uint8_t command = request[3];
    const bool write = request[4] == 1;
    protocol::GatewayState& gateway = config_.gateway;
    Bytes reply{kWirelessMarker, kWirelessMarker, kWirelessMarker, command, request[4]};
    switch (command) {
        case protocol::kConfigureNode:
        case protocol::kClearNode: {
            const std::uint8_t index = request[5];
            if (!write || request[6] != index || index >= protocol::kGatewayNodes) return {};
            gateway.SetNode(index + 1, command == protocol::kConfigureNode);
            if (command == protocol::kConfigureNode) return GatewayReport(command);
            return Echo(request, n);
        }
        case protocol::kSleepTime:
            if (write) {
                gateway.sleepTime = static_cast<std::uint16_t>(request[5] << 8 | request[6]);
                return Echo(request, n);
            }
            PutWord(reply, gateway.sleepTime);
            break;
        case protocol::kChannel:
            if (write) {
                if (request[5] >= kChannels) return {};
                config_.channel = request[5];
                return Echo(request, n);
            }
            reply.push_back(config_.channel);
            break;
        case protocol::kReadClimate:
            PutWord(reply, registers_.Register(1).value_or(0));
            PutWord(reply, registers_.Register(0).value_or(0));
            break;
        case protocol::kRelayParameters:
            if (!config_.relaySupport) return {};
            if (write) {
                gateway.relayMode = request[5];
                gateway.relayChannel = request[6];
                gateway.airRate = request[7];
                return Echo(request, n);
            }
            for (std::uint8_t b : {gateway.relayMode, gateway.relayChannel, gateway.airRate})
                reply.push_back(b);
            break;
        default:
            return {};
    }
    AppendCrc(reply);
    return reply;
}

std::optional<std::uint16_t> TransmitterDevice::Parameter(std::uint8_t code) const {
    std::lock_guard lock(mutex_);
    const auto it = parameters_.find(code);
    if (it == parameters_.end()) return std::nullopt;
    return it->second;
}

void TransmitterDevice::SetParameter(std::uint8_t code, std::uint16_t value) {
    std::lock_guard lock(mutex_);
    parameters_[code] = value;
}

bool TransmitterDevice::InConfigMode() const {
    std::lock_guard lock(mutex_);
    return configMode_;
}

protocol::GatewayState TransmitterDevice::Gateway() const {
    std::lock_guard lock(mutex_);
    return config_.gateway;
}

void TransmitterDevice::SetGateway(const protocol::GatewayState& state) {
    std::lock_guard lock(mutex_);
    config_.gateway = state;
}

std::uint8_t TransmitterDevice::Channel() const {
    std::lock_guard lock(mutex_);
    return config_.channel;
}

}  // namespace sim
