#include "profiles.h"

#include <bit>
#include <cmath>
#include <numbers>

namespace sim {

std::uint16_t Wave(double base, double amplitude, double period, double t) {
    const double v = base + amplitude * std::sin(2 * std::numbers::pi * t / period);
    return static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(v)));
}

std::uint16_t Steps(const std::vector<std::uint16_t>& values, double hold, double t) {
    if (values.empty()) return 0;
    return values[static_cast<std::size_t>(t / hold) % values.size()];
}

RegisterDeviceConfig DeviceAt(std::uint8_t address, std::uint32_t baud) {
    RegisterDeviceConfig c;
    c.address = address;
    c.baud = baud;
    return c;
}

void PutUInt32(RegisterMap& r, std::uint16_t reg, std::uint32_t value) {
    r[reg] = static_cast<std::uint16_t>(value >> 16);
    r[static_cast<std::uint16_t>(reg + 1)] = static_cast<std::uint16_t>(value & 0xFFFF);
}

void PutFloat(RegisterMap& r, std::uint16_t reg, float value) {
    PutUInt32(r, reg, std::bit_cast<std::uint32_t>(value));
}

float GetFloat(const RegisterMap& r, std::uint16_t reg) {
    const auto word = [&](std::uint16_t at) {
        const auto it = r.find(at);
        return it == r.end() ? std::uint32_t{0} : std::uint32_t{it->second};
    };
    return std::bit_cast<float>(word(reg) << 16 | word(static_cast<std::uint16_t>(reg + 1)));
}

std::shared_ptr<RegisterDevice> MakeRegisterDevice(RegisterDeviceConfig config,
                                                   RegisterMap registers, LiveUpdate live,
                                                   const DeviceOptions& options) {
    if (options.address) config.address = *options.address;
    if (options.baud) config.baud = *options.baud;
    if (options.mode) config.mode = *options.mode;
    for (const auto& [reg, value] : options.registers) registers[reg] = value;
    return std::make_shared<RegisterDevice>(config, std::move(registers), std::move(live));
}

void AddRegisterProfile(std::vector<Profile>& out, std::string name, std::string description,
                        std::string program, RegisterDeviceConfig config, RegisterMap registers,
                        LiveUpdate live) {
    out.push_back(
        {std::move(name), std::move(description), std::move(program),
         [config, registers = std::move(registers), live = std::move(live)](
             const DeviceOptions& o) { return MakeRegisterDevice(config, registers, live, o); }});
}

const std::vector<Profile>& Profiles() {
    static const std::vector<Profile> profiles = [] {
        std::vector<Profile> all;
        all.push_back({"register", "plain register bank (registers given with --reg)", "",
                       [](const DeviceOptions& o) { return MakeRegisterDevice({}, {}, {}, o); }});
        AddClimateProfiles(all);
        AddGasProfiles(all);
        AddTransmitterProfiles(all);
        AddLightWindProfiles(all);
        AddSoilProfiles(all);
        AddWeatherProfiles(all);
        AddWaterGaugeProfiles(all);
        return all;
    }();
    return profiles;
}

std::vector<const Profile*> ProfilesFor(const std::string& program) {
    std::vector<const Profile*> out;
    for (const Profile& p : Profiles())
        if (p.program == program) out.push_back(&p);
    return out;
}

const Profile* FindProfile(const std::string& name) {
    for (const Profile& p : Profiles())
        if (p.name == name) return &p;
    return nullptr;
}

}  // namespace sim
