#pragma once
// The network ports ("rfc2217://HOST:PORT", "tcp://HOST:PORT") a program opened before,
// newest first, kept in its settings so that its port list offers them again after a
// restart. Both programs keep them under one organisation, each under its own name.
#include <QString>
#include <string>
#include <vector>

namespace ui {

inline constexpr char kSettingsOrganisation[] = "PelmarqQuillet";

class RemotePortHistory {
  public:
    static constexpr std::size_t kMaximum = 8;

    // `program`: "pelmarq" or "quillet".
    explicit RemotePortHistory(QString program) : program_(std::move(program)) {}

    std::vector<std::string> Ports() const;
    // Puts a network port first; a local path is not kept (the system lists those).
    void Remember(const std::string& name);

  private:
    QString program_;
};

}  // namespace ui
