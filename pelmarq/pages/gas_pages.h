#pragma once
// The gas transmitters of the gas category: CO2, CO, TVOC, SO2, NO2, O2, H2S, NH3 and O3.
// One family with one register layout: humidity in register 0, temperature in 1, the gas
// in 2, limits and calibrations from register 48 on. All but TVOC have a sensor type whose
// gas-only items ("单...") blank and disable the temperature and humidity rows.
#include "device_page.h"
#include "page_tables.h"

namespace pages {

class Co2Page : public DevicePage {
    Q_OBJECT
  public:
    Co2Page(transport::SerialLink& link, QWidget* parent = nullptr);
};

class CoPage : public DevicePage {
    Q_OBJECT
  public:
    CoPage(transport::SerialLink& link, QWidget* parent = nullptr);
};

class TvocPage : public DevicePage {
    Q_OBJECT
  public:
    TvocPage(transport::SerialLink& link, QWidget* parent = nullptr);
};

class So2Page : public DevicePage {
    Q_OBJECT
  public:
    So2Page(transport::SerialLink& link, QWidget* parent = nullptr);
};

// The NO2 reading is shown twice: in ppm, and in mg/m3 from a second read of register 2; each
// field shows its own read, and its own failure.
class No2Page : public DevicePage {
    Q_OBJECT
  public:
    No2Page(transport::SerialLink& link, QWidget* parent = nullptr);
};

class O2Page : public DevicePage {
    Q_OBJECT
  public:
    O2Page(transport::SerialLink& link, QWidget* parent = nullptr);
};

class H2sPage : public DevicePage {
    Q_OBJECT
  public:
    H2sPage(transport::SerialLink& link, QWidget* parent = nullptr);
};

// A gas page whose gas value and gas limits (kRanged rows) are encoded by the measuring
// range the sensor type names (RangedEncoding).
class RangedGasPage : public DevicePage {
    Q_OBJECT
  public:
    RangedGasPage(transport::SerialLink& link, PageSpec spec, RangedEncoding ranges,
                  QWidget* parent);

  protected:
    Encoding EncodingFor(std::size_t row) const override;

  private:
    RangedEncoding ranges_;
};

class Nh3Page : public RangedGasPage {
    Q_OBJECT
  public:
    Nh3Page(transport::SerialLink& link, QWidget* parent = nullptr);
};

class O3Page : public RangedGasPage {
    Q_OBJECT
  public:
    O3Page(transport::SerialLink& link, QWidget* parent = nullptr);
};

}  // namespace pages
