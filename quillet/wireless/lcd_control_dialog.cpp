#include "lcd_control_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "busy_flag.h"
#include "dialog_text.h"
#include "message_box.h"
#include "return_key.h"
#include "scroll_window.h"
#include "transmitter_client.h"

namespace quillet {
const std::vector<LcdControlDialog::RelaySwitch>& LcdControlDialog::Switches() {
    // The failure texts are the device maker's, odd ones included.
    static const std::vector<RelaySwitch> switches = {
        {1062, QT_TRANSLATE_NOOP("Quillet", "继电器1吸合"), 0x002F, 1,
         QT_TRANSLATE_NOOP("Quillet", "继电器控制1失败"),
         QT_TRANSLATE_NOOP("Quillet", "继电器控制1失败")},
        {1067, QT_TRANSLATE_NOOP("Quillet", "继电器1断开"), 0x002F, 0,
         QT_TRANSLATE_NOOP("Quillet", "继电器控1制失败"),
         QT_TRANSLATE_NOOP("Quillet", "继电器1控制失败")},
        {1065, QT_TRANSLATE_NOOP("Quillet", "继电器2吸合"), 0x0030, 1,
         QT_TRANSLATE_NOOP("Quillet", "继电器2控制失败"),
         QT_TRANSLATE_NOOP("Quillet", "继电器2控制失败")},
        {1066, QT_TRANSLATE_NOOP("Quillet", "继电器2断开"), 0x0030, 0,
         QT_TRANSLATE_NOOP("Quillet", "继电器2控制失败"),
         QT_TRANSLATE_NOOP("Quillet", "继电器2控制失败")},
    };
    return switches;
}

LcdControlDialog::LcdControlDialog(TransmitterClient& client, BusyFlag& busy, QWidget* parent)
    : QDialog(parent), client_(client), busy_(busy) {
    setObjectName("142");
    setWindowTitle(Tr("液晶控制"));
    auto* grid = new QGridLayout(this);

    grid->addWidget(new QLabel(Tr("液晶控制模式：")), 0, 0, Qt::AlignRight);
    mode_ = new QComboBox;
    mode_->setObjectName("1057");
    mode_->addItems({Tr("模式1"), Tr("模式2"), Tr("模式3"), Tr("模式4")});
    mode_->setCurrentIndex(-1);  // the device's mode is not read; nothing is chosen
    grid->addWidget(mode_, 0, 1);
    QPushButton* setMode = Button("设置", 1059);
    grid->addWidget(setMode, 0, 2);
    connect(setMode, &QPushButton::clicked, this, [this] { WriteMode(); });

    const struct {
        const char* label;
        int edit, query;
        std::uint16_t reg;
    } relays[] = {
        {QT_TRANSLATE_NOOP("Quillet", "继电器1状态："), 1058, 1060, 0x002F},
        {QT_TRANSLATE_NOOP("Quillet", "继电器2状态："), 1063, 1064, 0x0030},
    };
    // One row per relay: its state and query, then its 吸合/断开 buttons.
    int row = 1;
    for (const auto& r : relays) {
        grid->addWidget(new QLabel(Tr(r.label)), row, 0, Qt::AlignRight);
        auto* state = new QLineEdit;
        state->setObjectName(QString::number(r.edit));
        state->setReadOnly(true);
        grid->addWidget(state, row, 1);
        QPushButton* query = Button("查询", r.query);
        grid->addWidget(query, row, 2);
        connect(query, &QPushButton::clicked, this,
                [this, reg = r.reg, state] { QueryRelay(reg, state); });
        relayControls_.insert(relayControls_.end(), {state, query});
        int column = 3;
        for (const RelaySwitch& s : Switches()) {
            if (s.reg != r.reg) continue;
            QPushButton* button = Button(s.text, s.id);
            grid->addWidget(button, row, column++);
            connect(button, &QPushButton::clicked, this, [this, &s] { Switch(s); });
            relayControls_.push_back(button);
        }
        ++row;
    }
    grid->setColumnStretch(1, 1);

    // The relays are worked by hand only in mode 4. The choice itself sends nothing, so it
    // is not held back by the busy flag: the controls always match the list.
    for (QWidget* w : relayControls_) w->setEnabled(false);
    connect(mode_, &QComboBox::currentIndexChanged, this, [this](int index) {
        for (QWidget* w : relayControls_) w->setEnabled(index == kManualModeIndex);
    });
    ui::KeepReturnInFields(this);
    ui::ScrollWhenSmall(this);
}

void LcdControlDialog::WriteMode() {
    if (!busy_.TryTake()) return;
    const int index = mode_->currentIndex();
    if (index < 0) return ui::Message(this, Tr("参数错误"), Tr("警告"), ui::BoxIcon::Question);
    const auto status =
        client_.WriteDeviceRegister(kModeRegister, static_cast<std::uint16_t>(index + 1));
    if (status == protocol::ExchangeStatus::Ok) {
        ui::Message(this, Tr("模式下载成功"), Tr("下载工作模式"), ui::BoxIcon::None);
    } else {
        ui::Message(this, Tr("模式下载失败"), Tr("下载工作模式"), ui::BoxIcon::Question);
    }
}

void LcdControlDialog::QueryRelay(std::uint16_t reg, QLineEdit* state) {
    if (!busy_.TryTake()) return;
    state->setText(QStringLiteral(" "));
    std::uint16_t value = 0;
    if (!client_.ReadDeviceRegister(reg, &value)) return;
    state->setText(value != 0 ? Tr("闭合") : Tr("断开"));
}

void LcdControlDialog::Switch(const RelaySwitch& s) {
    if (!busy_.TryTake()) return;
    const auto status = client_.WriteDeviceRegister(s.reg, s.value);
    if (status == protocol::ExchangeStatus::Ok) return;
    const char* text = status == protocol::ExchangeStatus::CheckFailed ? s.differs : s.noReply;
    ui::Message(this, Tr(text), Tr("继电器控制"), ui::BoxIcon::Question);
}

}  // namespace quillet
