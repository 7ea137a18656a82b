#pragma once
// Named simulated devices, shared by `devsim --profile NAME` and the programs' --demo mode.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device.h"
#include "register_device.h"

namespace sim {

// What a user may change of a profile's device.
struct DeviceOptions {
    std::optional<std::uint8_t> address;
    std::optional<std::uint32_t> baud;
    std::optional<AddressingMode> mode;
    RegisterMap registers;  // set on top of the profile's own
};

struct Profile {
    std::string name;
    std::string description;
    std::string program;  // the program whose pages read this device: "pelmarq" or "quillet"
    std::function<std::shared_ptr<Device>(const DeviceOptions&)> make;
};

const std::vector<Profile>& Profiles();
// The profiles of one program, in order.
std::vector<const Profile*> ProfilesFor(const std::string& program);
const Profile* FindProfile(const std::string& name);

// A register device from a profile's defaults and the user's options.
std::shared_ptr<RegisterDevice> MakeRegisterDevice(RegisterDeviceConfig defaults,
                                                   RegisterMap registers, LiveUpdate live,
                                                   const DeviceOptions& options);

// Adds a profile of a register device with these defaults.
void AddRegisterProfile(std::vector<Profile>& out, std::string name, std::string description,
                        std::string program, RegisterDeviceConfig config, RegisterMap registers,
                        LiveUpdate live);

// Helpers for live values.
// base + amplitude * sin(2 pi t / period), as a 16-bit register word (two's complement).
std::uint16_t Wave(double base, double amplitude, double period, double t);
// Cycles through `values`, each held for `hold` seconds.
std::uint16_t Steps(const std::vector<std::uint16_t>& values, double hold, double t);
// A device at `address` listening at `baud`, found by the FD frame.
RegisterDeviceConfig DeviceAt(std::uint8_t address, std::uint32_t baud);
// A 32-bit value in two registers, high word first.
void PutUInt32(RegisterMap& r, std::uint16_t reg, std::uint32_t value);
// An IEEE-754 single in two registers, high word first.
void PutFloat(RegisterMap& r, std::uint16_t reg, float value);
float GetFloat(const RegisterMap& r, std::uint16_t reg);

// Profile groups, one per family of devices.
void AddClimateProfiles(std::vector<Profile>& out);
void AddGasProfiles(std::vector<Profile>& out);
void AddTransmitterProfiles(std::vector<Profile>& out);
void AddLightWindProfiles(std::vector<Profile>& out);
void AddSoilProfiles(std::vector<Profile>& out);
void AddWeatherProfiles(std::vector<Profile>& out);
void AddWaterGaugeProfiles(std::vector<Profile>& out);

}  // namespace sim
