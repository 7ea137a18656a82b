#include "wireless_relay_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

#include "dialog_text.h"
#include "message_box.h"
#include "transmitter_client.h"

namespace quillet {
namespace {

void Select(QComboBox* list, std::uint8_t value) {
    const QSignalBlocker quiet(list);
    list->setCurrentIndex(value < list->count() ? value : -1);
}

}  // namespace

WirelessRelayPage::WirelessRelayPage(TransmitterClient& client, protocol::GatewayState& gateway,
                                     QWidget* parent)
    : QWidget(parent), client_(client), gateway_(gateway) {
    setObjectName("147");
    auto* grid = new QGridLayout(this);
    // The lists keep a modest width; the room to their right stays empty.
    grid->setColumnStretch(2, 1);
    const struct {
        const char* label;
        int id;
        QComboBox** list;
    } rows[] = {
        {QT_TRANSLATE_NOOP("Quillet", "中继工作模式:"), 1076, &mode_},
        {QT_TRANSLATE_NOOP("Quillet", "中继通信信道:"), 1075, &channel_},
        {QT_TRANSLATE_NOOP("Quillet", "空中通信速率:"), 1077, &airRate_},
    };
    int row = 0;
    for (const auto& r : rows) {
        grid->addWidget(new QLabel(Tr(r.label)), row, 0, Qt::AlignRight);
        *r.list = new QComboBox;
        (*r.list)->setObjectName(QString::number(r.id));
        (*r.list)->setMinimumWidth(180);
        grid->addWidget(*r.list, row, 1);
        ++row;
    }
    mode_->addItems({Tr("中继从站"), Tr("中继主站")});
    for (int c = 1; c <= kRelayChannels; ++c) channel_->addItem(Tr("信道%1").arg(c));
    airRate_->addItems({QStringLiteral("2400"), QStringLiteral("4800"), QStringLiteral("9600")});

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (auto [text, id] : {std::pair{QT_TRANSLATE_NOOP("Quillet", "读取无线中继参数"), 1078},
                            {QT_TRANSLATE_NOOP("Quillet", "设置无线中继参数"), 1079}}) {
        QPushButton* button = Button(text, id);
        buttons->addWidget(button);
        connect(button, &QPushButton::clicked, this,
                [this, id] { id == 1078 ? ReadRelay() : WriteRelay(); });
    }
    grid->addLayout(buttons, row, 0, 1, 2);
    grid->setRowStretch(row + 1, 1);

    // Only a choice of the user's changes a stored value; showing one does not.
    connect(mode_, &QComboBox::activated, this, [this](int index) {
        gateway_.relayMode = static_cast<std::uint8_t>(index);
        emit ModeChosen(index);
    });
    connect(channel_, &QComboBox::activated, this,
            [this](int index) { gateway_.relayChannel = static_cast<std::uint8_t>(index); });
    connect(airRate_, &QComboBox::activated, this,
            [this](int index) { gateway_.airRate = static_cast<std::uint8_t>(index); });

    ShowStored();
}

void WirelessRelayPage::ShowStored() {
    Select(mode_, gateway_.relayMode);
    Select(channel_, gateway_.relayChannel);
    Select(airRate_, gateway_.airRate);
}

void WirelessRelayPage::ReadRelay() {
    protocol::RelayParameters read;
    if (!client_.ReadRelay(&read))
        return ui::Message(this, Tr("读取无线中继参数失败，请重新读取"), Tr("警告"),
                           ui::BoxIcon::Question);
    gateway_.relayMode = read.mode;
    gateway_.relayChannel = read.channel;
    gateway_.airRate = read.airRate;
    ShowStored();
}

void WirelessRelayPage::WriteRelay() {
    // The stored values, as the device gave them where a list cannot show one.
    if (!client_.WriteRelay({gateway_.relayMode, gateway_.relayChannel, gateway_.airRate}))
        return ui::Message(this, Tr("配置无线中继参数失败，请重新配置"), Tr("警告"),
                           ui::BoxIcon::Question);
    ui::Message(this, Tr("配置无线中继参数成功"), Tr("提示"), ui::BoxIcon::None);
}

}  // namespace quillet
