// Quillet's devices: the temperature/humidity transmitter, found by the FD frame, and the
// same model as a wireless gateway with relay support, found by the comm block at 0xFF.
#include "profiles.h"
#include "transmitter_device.h"

namespace sim {
namespace {

RegisterMap TransmitterRegisters() {
    return {
        {0, 553},   // humidity, tenths of %RH
        {1, 236},   // temperature, tenths of a degree (two's complement)
        {2, 1},     // water leak: 1 normal, 2 alarm
        {3, 0},     // power failure: 0 normal, 1 alarm
        {4, 45},    // current, tenths of mA
        {5, 2204},  // voltage, tenths of V
        {6, 830},   // light, lux
        {0x2D, 1},  // LCD/relay control mode
        {0x2F, 0},  // relay 1
        {0x30, 0},  // relay 2
    };
}

void LiveTransmitter(RegisterMap& r, double t) {
    r[0] = Wave(553, 40, 47, t);
    r[1] = Wave(236, 12, 31, t);
    r[2] = Steps({1, 1, 1, 2}, 5, t);
    r[6] = Wave(830, 120, 23, t);
}

std::shared_ptr<Device> MakeTransmitter(TransmitterConfig config, const DeviceOptions& options) {
    if (options.address) config.link.address = *options.address;
    if (options.baud) config.link.baud = *options.baud;
    if (options.mode) config.link.mode = *options.mode;
    RegisterMap registers = TransmitterRegisters();
    for (const auto& [reg, value] : options.registers) registers[reg] = value;
    return std::make_shared<TransmitterDevice>(
        config, std::move(registers), TransmitterDevice::DefaultParameters(), LiveTransmitter);
}

TransmitterConfig Transmitter() {
    TransmitterConfig c;
    c.link.address = 1;
    c.link.baud = 4800;
    c.link.mode = AddressingMode::Frame;
    c.gateway.sleepTime = 60;
    for (int node : {1, 2, 3, 7, 26, 200}) c.gateway.SetNode(node, true);
    c.channel = 5;
    return c;
}

TransmitterConfig Gateway() {
    TransmitterConfig c = Transmitter();
    c.link.address = 3;
    c.link.baud = 9600;
    c.link.mode = AddressingMode::Broadcast;
    c.link.stop1 = 0;
    c.link.stop2 = 0;
    c.relaySupport = true;
    c.gateway.relaySupport = 1;
    c.gateway.relayMode = 0;
    c.gateway.relayChannel = 4;
    c.gateway.airRate = 2;
    return c;
}

}  // namespace

void AddTransmitterProfiles(std::vector<Profile>& out) {
    out.push_back(
        {"transmitter", "temperature/humidity transmitter with parameter frames (FD frame, 4800)",
         "quillet", [](const DeviceOptions& o) { return MakeTransmitter(Transmitter(), o); }});
    out.push_back({"gateway", "wireless gateway with relay support (comm block at 0xFF, 9600)",
                   "quillet",
                   [](const DeviceOptions& o) { return MakeTransmitter(Gateway(), o); }});
}

}  // namespace sim
