#pragma once
// The wind category: the wind direction transmitter (direction code, its name and an arrow)
// and the wind speed transmitter. Read-only pages.
#include <optional>

#include "device_page.h"
#include "page_tables.h"

namespace pages {

class WindDirectionPage : public DevicePage {
    Q_OBJECT
  public:
    WindDirectionPage(transport::SerialLink& link, QWidget* parent = nullptr);

  protected:
    protocol::ExchangeStatus ReadRow(std::size_t row, bool showErrors) override;

  private:
    void ShowDirection();

    std::optional<std::uint16_t> code_;  // register 0 as last read; none after a failed read
    class WindArrow* arrow_ = nullptr;
    QLabel* name_ = nullptr;
};

class WindSpeedPage : public DevicePage {
    Q_OBJECT
  public:
    WindSpeedPage(transport::SerialLink& link, QWidget* parent = nullptr);
};

}  // namespace pages
