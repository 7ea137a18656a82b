#include "parameter_commands.h"

#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialog_text.h"
#include "message_box.h"
#include "transmitter_dialog.h"
#include "value_log.h"

namespace quillet {
namespace {

using protocol::ParameterEncoding;

QString Id(int id) {
    return QString::number(id);
}

QPushButton* AddButton(QGridLayout* grid, int row, int column, const char* text, int id,
                       std::vector<QPushButton*>* commands) {
    QPushButton* button = Button(text, id);
    grid->addWidget(button, row, column);
    commands->push_back(button);
    return button;
}

QLineEdit* AddEdit(QGridLayout* grid, int row, const char* label, int id) {
    grid->addWidget(new QLabel(Tr(label)), row, 0, Qt::AlignRight);
    auto* edit = new QLineEdit;
    edit->setObjectName(Id(id));
    grid->addWidget(edit, row, 1);
    return edit;
}

}  // namespace

const std::vector<ParameterCommands::RegisterRow>& ParameterCommands::RegisterRows() {
    static const std::vector<RegisterRow> rows = {
        {QT_TRANSLATE_NOOP("Quillet", "温度值："), 1014, 1005, 0x0000, 2, 1,
         Display::TwosComplementTenths, false},
        {QT_TRANSLATE_NOOP("Quillet", "湿度值："), 1015, 1009, 0x0000, 2, 0,
         Display::UnsignedTenths, false},
        {QT_TRANSLATE_NOOP("Quillet", "水浸状态："), 1016, 1006, 0x0002, 1, 0, Display::WaterLeak,
         false},
        {QT_TRANSLATE_NOOP("Quillet", "断电状态："), 1017, 1010, 0x0003, 1, 0,
         Display::PowerFailure, false},
        {QT_TRANSLATE_NOOP("Quillet", "光照度："), 1030, 1020, 0x0006, 1, 0, Display::Unsigned,
         false},
        {QT_TRANSLATE_NOOP("Quillet", "CO2："), 1031, 1021, 0x0002, 1, 0, Display::Unsigned, false},
        {QT_TRANSLATE_NOOP("Quillet", "电流："), 1028, 1018, 0x0004, 1, 0, Display::UnsignedTenths,
         true},
        {QT_TRANSLATE_NOOP("Quillet", "电压："), 1029, 1019, 0x0005, 1, 0, Display::UnsignedTenths,
         true},
    };
    return rows;
}

const std::vector<ParameterCommands::ParameterRow>& ParameterCommands::ParameterRows() {
    static const std::vector<ParameterRow> rows = {
        {QT_TRANSLATE_NOOP("Quillet", "遥信输出延时："), 1063, 1064, 1065, 11,
         ParameterEncoding::Unsigned},
        {QT_TRANSLATE_NOOP("Quillet", "湿度上限："), 1032, 1039, 1022, 5,
         ParameterEncoding::SignMagnitude},
        {QT_TRANSLATE_NOOP("Quillet", "湿度下限："), 1033, 1040, 1023, 6,
         ParameterEncoding::SignMagnitude},
        {QT_TRANSLATE_NOOP("Quillet", "温度上限："), 1034, 1041, 1024, 3,
         ParameterEncoding::SignMagnitude},
        {QT_TRANSLATE_NOOP("Quillet", "温度下限："), 1035, 1042, 1025, 4,
         ParameterEncoding::SignMagnitude},
        {QT_TRANSLATE_NOOP("Quillet", "湿度回差："), 1047, 1049, 1045, 8,
         ParameterEncoding::Hysteresis},
        {QT_TRANSLATE_NOOP("Quillet", "温度回差："), 1048, 1050, 1046, 7,
         ParameterEncoding::Hysteresis},
        {QT_TRANSLATE_NOOP("Quillet", "湿度偏差："), 1036, 1043, 1026, 2,
         ParameterEncoding::SignMagnitudeTenths},
        {QT_TRANSLATE_NOOP("Quillet", "温度偏差："), 1037, 1044, 1027, 1,
         ParameterEncoding::SignMagnitudeTenths},
    };
    return rows;
}

ParameterCommands::ParameterCommands(TransmitterDialog& dialog, QGridLayout* live,
                                     QGridLayout* parameters, std::vector<QPushButton*>* commands)
    : dialog_(dialog) {
    int row = 0;
    for (const RegisterRow& r : RegisterRows()) {
        if (r.hidden) {
            // Kept (a script may look for them) but never shown. The query button belongs to
            // the command group all the same; the field stays disabled.
            auto* edit = new QLineEdit(&dialog);
            edit->setObjectName(Id(r.edit));
            edit->setEnabled(false);
            QPushButton* query = Button("查询", r.query);
            query->setParent(&dialog);
            commands->push_back(query);
            for (QWidget* w : {static_cast<QWidget*>(edit), static_cast<QWidget*>(query)})
                w->hide();
            QObject::connect(query, &QPushButton::clicked, [this, &r] { QueryRegister(r); });
            continue;
        }
        AddEdit(live, row, r.label, r.edit);
        QObject::connect(AddButton(live, row, 2, "查询", r.query, commands), &QPushButton::clicked,
                         [this, &r] { QueryRegister(r); });
        if (r.edit == 1030) AddButton(live, row, 3, "参数设定", 1069, commands);
        ++row;
    }

    row = 0;
    for (const ParameterRow& p : ParameterRows()) {
        AddEdit(parameters, row, p.label, p.edit);
        QObject::connect(AddButton(parameters, row, 2, "查询", p.query, commands),
                         &QPushButton::clicked, [this, &p] { QueryParameter(p); });
        QObject::connect(AddButton(parameters, row, 3, "设置", p.set, commands),
                         &QPushButton::clicked, [this, &p] { SetParameter(p); });
        ++row;
        if (p.code != 11) continue;
        // The contact type follows the output delay.
        parameters->addWidget(new QLabel(Tr("遥信常开常闭设置：")), row, 0, Qt::AlignRight);
        auto* contact = new QComboBox;
        contact->setObjectName(Id(1066));
        contact->addItems({Tr("常开"), Tr("常闭")});
        contact->setCurrentIndex(-1);  // nothing is chosen until the device says so
        parameters->addWidget(contact, row, 1);
        QObject::connect(AddButton(parameters, row, 2, "查询", 1067, commands),
                         &QPushButton::clicked, [this] { QueryContact(); });
        QObject::connect(AddButton(parameters, row, 3, "设置", 1068, commands),
                         &QPushButton::clicked, [this] { SetContact(); });
        ++row;
    }
}

QString ParameterCommands::DisplayText(Display display, std::uint16_t word) {
    switch (display) {
        case Display::TwosComplementTenths:
            return QString::fromStdString(protocol::FormatTwosComplementTenths(word));
        case Display::UnsignedTenths:
            return QString::fromStdString(protocol::FormatUnsignedTenths(word));
        case Display::Unsigned:
            return QString::number(word);
        case Display::WaterLeak:
            return word == 1 ? Tr("正常") : word == 2 ? Tr("告警") : QStringLiteral(" ");
        case Display::PowerFailure:
            return word == 0 ? Tr("正常") : word == 1 ? Tr("告警") : QStringLiteral("  ");
    }
    return {};
}

void ParameterCommands::QueryRegister(const RegisterRow& row) {
    if (!dialog_.Busy().TryTake()) return;
    auto* edit = dialog_.findChild<QLineEdit*>(Id(row.edit));
    edit->clear();
    std::uint16_t words[2] = {};
    if (dialog_.Client().ReadRegisters(row.reg, row.count, words))
        edit->setText(DisplayText(row.display, words[row.index]));
    if (dialog_.Log().IsOpen()) {
        QString label = Tr(row.label);
        while (label.endsWith(QStringLiteral("："))) label.chop(1);
        dialog_.Log().Append(QDateTime::currentDateTime(), Tr("变送器"),
                             {{label, QString(), edit->text()}});
    }
}

void ParameterCommands::QueryParameter(const ParameterRow& row) {
    if (!dialog_.Busy().TryTake()) return;
    auto* edit = dialog_.findChild<QLineEdit*>(Id(row.edit));
    edit->clear();
    std::uint16_t word = 0;
    if (!dialog_.Client().ReadParameter(row.code, &word)) return;
    edit->setText(QString::fromStdString(protocol::FormatParameter(row.encoding, word)));
}

void ParameterCommands::SetParameter(const ParameterRow& row) {
    const auto* edit = dialog_.findChild<QLineEdit*>(Id(row.edit));
    const protocol::ParameterEntry entry =
        protocol::EncodeParameterEntry(row.encoding, edit->text().toStdString());
    switch (entry.refusal) {
        case protocol::ParameterRefusal::NotANumber:
            return NumberRefused(&dialog_, false);
        case protocol::ParameterRefusal::OutOfRange:
            return NumberRefused(&dialog_, true);
        case protocol::ParameterRefusal::Magnitude:
            return Refuse();
        case protocol::ParameterRefusal::None:
            break;
    }
    ReportSet(dialog_.Client().WriteParameter(row.code, entry.word));
}

void ParameterCommands::QueryContact() {
    if (!dialog_.Busy().TryTake()) return;
    auto* contact = dialog_.findChild<QComboBox*>(Id(1066));
    contact->setCurrentIndex(-1);
    std::uint16_t word = 0;
    if (!dialog_.Client().ReadParameter(kContactCode, &word)) return;
    contact->setCurrentIndex(word < 2 ? word : -1);
}

void ParameterCommands::SetContact() {
    const int index = dialog_.findChild<QComboBox*>(Id(1066))->currentIndex();
    if (index < 0 || index > 1) return Refuse();
    ReportSet(dialog_.Client().WriteParameter(kContactCode, static_cast<std::uint16_t>(index)));
}

void ParameterCommands::ReportSet(bool ok) {
    if (ok) {
        ui::Message(&dialog_, Tr("设置成功"));
    } else {
        ui::Message(&dialog_, Tr("设置失败"), Tr("警告"), ui::BoxIcon::Question);
    }
}

void ParameterCommands::Refuse() {
    ui::Message(&dialog_, Tr("参数错误"), Tr("警告"), ui::BoxIcon::Question);
}

}  // namespace quillet
