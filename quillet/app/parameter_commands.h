#pragma once
// The transmitter's query and set buttons: live values by register read, parameters by the
// FC frame. Each row of the two tables gets its label, edit (or list) and buttons, named by
// their control ids; one handler per kind serves every row.
#include <QString>
#include <cstdint>
#include <vector>

#include "transmitter_values.h"

class QGridLayout;
class QPushButton;

namespace quillet {

class TransmitterDialog;

class ParameterCommands {
  public:
    enum class Display { TwosComplementTenths, UnsignedTenths, Unsigned, WaterLeak, PowerFailure };

    struct RegisterRow {
        const char* label;
        int edit, query;
        std::uint16_t reg;
        std::uint8_t count;
        std::uint8_t index;  // which of the registers read is shown
        Display display;
        bool hidden;  // present, hidden and disabled
    };

    struct ParameterRow {
        const char* label;
        int edit, query, set;
        std::uint8_t code;
        protocol::ParameterEncoding encoding;
    };

    static const std::vector<RegisterRow>& RegisterRows();
    static const std::vector<ParameterRow>& ParameterRows();
    static constexpr std::uint8_t kContactCode = 12;

    // Adds the live-value rows to `live` and the parameter rows to `parameters`, and the
    // command buttons to `commands`.
    ParameterCommands(TransmitterDialog& dialog, QGridLayout* live, QGridLayout* parameters,
                      std::vector<QPushButton*>* commands);

    // The text a register row shows for a value.
    static QString DisplayText(Display display, std::uint16_t word);

  private:
    void QueryRegister(const RegisterRow& row);
    void QueryParameter(const ParameterRow& row);
    void SetParameter(const ParameterRow& row);
    void QueryContact();
    void SetContact();
    void ReportSet(bool ok);
    void Refuse();

    TransmitterDialog& dialog_;
};

}  // namespace quillet
