#include "field_helpers.h"

#include <QLineEdit>

#include "field_format.h"
#include "message_box.h"

namespace fields {
namespace {

std::string EntryText(const QLineEdit* field) {
    return field->text().toStdString();
}

void Fill(QLineEdit* field, const std::string& text) {
    field->setText(QString::fromStdString(text));
}

}  // namespace

void FieldHelpers::ReadFailureBox(ExchangeStatus status) const {
    const char* text = nullptr;
    switch (status) {
        case ExchangeStatus::PortClosed:
            text = "串口未打开";
            break;
        case ExchangeStatus::NoReply:
            text = "读取格式错误";
            break;
        case ExchangeStatus::CheckFailed:
            text = "设备校验值错误";
            break;
        case ExchangeStatus::Ok:
            return;
    }
    ui::Message(owner_, QObject::tr(text), QObject::tr("警告"), ui::BoxIcon::Warning);
}

void FieldHelpers::WriteResultBox(ExchangeStatus status, SuccessIcon icon) const {
    switch (status) {
        case ExchangeStatus::Ok:
            ui::Message(
                owner_, QObject::tr("写入成功"), QString(""),
                icon == SuccessIcon::Warning ? ui::BoxIcon::Warning : ui::BoxIcon::Information);
            return;
        case ExchangeStatus::PortClosed:
            ui::Message(owner_, QObject::tr("串口未打开"), QObject::tr("警告"),
                        ui::BoxIcon::Warning);
            return;
        case ExchangeStatus::NoReply:
            ui::Message(owner_, QObject::tr("返回值错误或设备未响应"), QObject::tr("警告"),
                        ui::BoxIcon::Warning);
            return;
        case ExchangeStatus::CheckFailed:
            ui::Message(owner_, QObject::tr("接收与发送数据不一致"), QObject::tr("警告"),
                        ui::BoxIcon::Warning);
            return;
    }
}

template <class Value, class Read, class Format>
ExchangeStatus FieldHelpers::Show(QLineEdit* field, bool keep, bool showErrors, Read read,
                                  Format format) {
    Value value{};
    const ExchangeStatus status = read(&value);
    if (!keep) field->clear();
    if (status == ExchangeStatus::Ok)
        Fill(field, format(value));
    else if (showErrors)
        ReadFailureBox(status);
    return status;
}

ExchangeStatus FieldHelpers::ShowInt(QLineEdit* field, std::uint16_t reg, bool showErrors) {
    return Show<std::uint16_t>(
        field, true, showErrors, [&](std::uint16_t* v) { return client_.ReadRegister(reg, v); },
        FormatUInt);
}

ExchangeStatus FieldHelpers::ShowUInt(QLineEdit* field, std::uint16_t reg, bool showErrors,
                                      std::uint16_t* read) {
    return Show<std::uint16_t>(
        field, false, showErrors, [&](std::uint16_t* v) { return client_.ReadRegister(reg, v); },
        [&](std::uint16_t v) {
            if (read) *read = v;
            return FormatUInt(v);
        });
}

ExchangeStatus FieldHelpers::ShowScaled(QLineEdit* field, std::uint16_t reg, double factor,
                                        int decimals, bool showErrors) {
    return Show<std::uint16_t>(
        field, false, showErrors, [&](std::uint16_t* v) { return client_.ReadRegister(reg, v); },
        [&](std::uint16_t v) { return FormatScaled(v, factor, decimals); });
}

ExchangeStatus FieldHelpers::ShowStatus(QLineEdit* field, std::uint16_t reg, std::uint16_t normal,
                                        std::uint16_t alarm, bool showErrors,
                                        const char* normalText, const char* alarmText) {
    return Show<std::uint16_t>(
        field, false, showErrors, [&](std::uint16_t* v) { return client_.ReadRegister(reg, v); },
        [&](std::uint16_t v) { return FormatStatus(v, normal, alarm, normalText, alarmText); });
}

ExchangeStatus FieldHelpers::ShowUInt32(QLineEdit* field, std::uint16_t reg, bool showErrors) {
    return Show<std::uint32_t>(
        field, false, showErrors,
        [&](std::uint32_t* v) { return client_.ReadRegisterPair(reg, v); }, FormatUInt32);
}

ExchangeStatus FieldHelpers::ShowFloat(QLineEdit* field, std::uint16_t reg, bool showErrors,
                                       int decimals) {
    return Show<float>(
        field, false, showErrors, [&](float* v) { return client_.ReadFloat(reg, v); },
        [&](float v) { return FormatFloat(v, decimals); });
}

ExchangeStatus FieldHelpers::ShowVersion(QLineEdit* field, std::uint16_t reg, bool showErrors) {
    std::uint16_t raw = 0;
    const ExchangeStatus status = client_.ReadRegister(reg, &raw);
    field->clear();
    if (status == ExchangeStatus::Ok)
        Fill(field, FormatVersion(raw));
    else if (showErrors)
        ReadFailureBox(status);
    return status;
}

std::optional<std::uint32_t> FieldHelpers::Entry(const QLineEdit* field, protocol::EntryRange range,
                                                 std::int32_t multiplier) const {
    const protocol::EntryValue entry =
        protocol::ConvertEntryText(EntryText(field), range, multiplier);
    if (entry.error != protocol::EntryError::None) {
        EntryRefusedBox(entry.error);
        return std::nullopt;
    }
    return entry.bits;
}

void FieldHelpers::EntryRefusedBox(protocol::EntryError error) const {
    const char* text = error == protocol::EntryError::OutOfRange ? "数值超出范围" : "请输入数字";
    ui::Message(owner_, QObject::tr(text), QObject::tr("警告"), ui::BoxIcon::Warning);
}

void FieldHelpers::WriteIntField(QLineEdit* field, std::uint16_t reg, std::int32_t multiplier) {
    const auto word = Entry(field, protocol::EntryRange::Unsigned16, multiplier);
    if (!word) return;
    WriteResultBox(client_.WriteRegister(reg, static_cast<std::uint16_t>(*word)),
                   SuccessIcon::Information);
}

void FieldHelpers::WriteScaledField(QLineEdit* field, std::uint16_t reg, std::int32_t multiplier) {
    const auto word = Entry(field, protocol::EntryRange::Signed16, multiplier);
    if (!word) return;
    WriteResultBox(client_.WriteRegister(reg, static_cast<std::uint16_t>(*word)),
                   SuccessIcon::Information);
}

void FieldHelpers::WriteScaledField32(QLineEdit* field, std::uint16_t reg,
                                      std::int32_t multiplier) {
    const auto value = Entry(field, protocol::EntryRange::Unsigned32, multiplier);
    if (!value) return;
    WriteResultBox(client_.WriteRegisterPair(reg, *value), SuccessIcon::Warning);
}

void FieldHelpers::WriteFloatField(QLineEdit* field, std::uint16_t reg) {
    const auto bits = Entry(field, protocol::EntryRange::Float);
    if (!bits) return;
    WriteResultBox(client_.WriteRegisterPair(reg, *bits), SuccessIcon::Warning);
}

}  // namespace fields
