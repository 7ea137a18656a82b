#pragma once
// The Qt half of the field helpers: each reads or writes one edit field through the page's
// RegisterClient and shows the message box that belongs to the result. A read helper runs
// the exchange first, then empties the field (all but ShowInt), then fills it on success.
#include <cstdint>
#include <optional>

#include "entry_text.h"
#include "register_client.h"

class QLineEdit;
class QWidget;

namespace fields {

using protocol::ExchangeStatus;

class FieldHelpers {
  public:
    FieldHelpers(QWidget* owner, protocol::RegisterClient& client)
        : owner_(owner), client_(client) {}

    ExchangeStatus ShowInt(QLineEdit* field, std::uint16_t reg, bool showErrors);
    // `read`, when given, receives the register on success.
    ExchangeStatus ShowUInt(QLineEdit* field, std::uint16_t reg, bool showErrors,
                            std::uint16_t* read = nullptr);
    ExchangeStatus ShowScaled(QLineEdit* field, std::uint16_t reg, double factor, int decimals,
                              bool showErrors);
    ExchangeStatus ShowStatus(QLineEdit* field, std::uint16_t reg, std::uint16_t normal,
                              std::uint16_t alarm, bool showErrors, const char* normalText = "正常",
                              const char* alarmText = "警告");
    ExchangeStatus ShowUInt32(QLineEdit* field, std::uint16_t reg, bool showErrors);
    ExchangeStatus ShowFloat(QLineEdit* field, std::uint16_t reg, bool showErrors,
                             int decimals = 6);
    ExchangeStatus ShowVersion(QLineEdit* field, std::uint16_t reg, bool showErrors);

    // A write helper sends the entry only when it is a number whose value, times the
    // multiplier and truncated, fits the register; otherwise it shows why and sends nothing.
    // Unsigned integer (0..65535), the entry x multiplier.
    void WriteIntField(QLineEdit* field, std::uint16_t reg, std::int32_t multiplier = 1);
    // Signed (-32768..32767), the entry x multiplier.
    void WriteScaledField(QLineEdit* field, std::uint16_t reg, std::int32_t multiplier);
    // Two registers, unsigned 32 bits, the entry x multiplier.
    void WriteScaledField32(QLineEdit* field, std::uint16_t reg, std::int32_t multiplier);
    // Two registers, the bits of the entry as an IEEE-754 single.
    void WriteFloatField(QLineEdit* field, std::uint16_t reg);

    // The entry's register value, or nullopt after the box that refuses it.
    std::optional<std::uint32_t> Entry(const QLineEdit* field, protocol::EntryRange range,
                                       std::int32_t multiplier = 1) const;
    // "请输入数字" or "数值超出范围".
    void EntryRefusedBox(protocol::EntryError error) const;

    // The boxes, for pages that run their own exchanges.
    void ReadFailureBox(ExchangeStatus status) const;
    enum class SuccessIcon { Information, Warning };
    void WriteResultBox(ExchangeStatus status, SuccessIcon icon) const;

    protocol::RegisterClient& Client() { return client_; }

  private:
    // Runs `read` (the exchange), empties the field unless `keep`, fills it with
    // `format(value)` on success, or shows the read box when asked to.
    template <class Value, class Read, class Format>
    ExchangeStatus Show(QLineEdit* field, bool keep, bool showErrors, Read read, Format format);

    QWidget* owner_;
    protocol::RegisterClient& client_;
};

}  // namespace fields
