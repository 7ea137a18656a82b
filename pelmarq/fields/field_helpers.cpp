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

ExchangeStatus FieldHelpers::ShowUInt(QLineEdit* field, std::uint16_t reg, bool showErrors) {
    return Show<std::uint16_t>(
        field, false, showErrors, [&](std::uint16_t* v) { return client_.ReadRegister(reg, v); },
        FormatUInt);
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

ExchangeStatus FieldHelpers::WriteIntField(QLineEdit* field, std::uint16_t reg) {
    const ExchangeStatus status = client_.WriteRegister(reg, IntFieldValue(EntryText(field)));
    WriteResultBox(status, SuccessIcon::Information);
    return status;
}

ExchangeStatus FieldHelpers::WriteScaledField(QLineEdit* field, std::uint16_t reg,
                                              std::int32_t multiplier) {
    const ExchangeStatus status =
        client_.WriteRegister(reg, ScaledFieldValue(EntryText(field), multiplier));
    WriteResultBox(status, SuccessIcon::Information);
    return status;
}

ExchangeStatus FieldHelpers::WriteScaledField32(QLineEdit* field, std::uint16_t reg,
                                                std::int32_t multiplier) {
    const ExchangeStatus status =
        client_.WriteRegisterPair(reg, ScaledFieldValue32(EntryText(field), multiplier));
    WriteResultBox(status, SuccessIcon::Warning);
    return status;
}

ExchangeStatus FieldHelpers::WriteFloatField(QLineEdit* field, std::uint16_t reg) {
    const ExchangeStatus status = client_.WriteRegisterPair(reg, FloatFieldBits(EntryText(field)));
    WriteResultBox(status, SuccessIcon::Warning);
    return status;
}

}  // namespace fields
