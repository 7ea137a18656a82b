#include "wireless_network_page.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "clear_device_dialog.h"
#include "colour_slot_button.h"
#include "dialog_text.h"
#include "entry_text.h"
#include "message_box.h"
#include "transmitter_client.h"
#include "transmitter_values.h"

namespace quillet {
namespace {

constexpr int kNodeSize = 22;

void Succeeded(QWidget* owner, const char* text) {
    ui::Message(owner, Tr(text), Tr("提示"), ui::BoxIcon::None);
}

void Failed(QWidget* owner, const char* text) {
    ui::Message(owner, Tr(text), Tr("警告"), ui::BoxIcon::Question);
}

// "23.6℃  55.3 %RH": temperature in two's complement tenths, humidity in unsigned tenths.
QString ClimateText(std::uint16_t temperature, std::uint16_t humidity) {
    return QString::fromStdString(protocol::FormatTwosComplementTenths(temperature)) +
           QStringLiteral("℃  ") +
           QString::fromStdString(protocol::FormatUnsignedTenths(humidity)) +
           QStringLiteral(" %RH");
}

// A legend swatch drawn like a node button, so the two can be compared at a glance.
QWidget* Legend(const QColor& colour, const char* text) {
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    auto* swatch = new controls::ColourSlotButton;
    swatch->setObjectName(Tr(text) + QStringLiteral(":legend"));
    swatch->setFixedSize(kNodeSize, kNodeSize);
    swatch->PaintState(colour);
    swatch->setFocusPolicy(Qt::NoFocus);
    swatch->setAttribute(Qt::WA_TransparentForMouseEvents);
    row->addWidget(swatch);
    row->addWidget(new QLabel(Tr(text)));
    return box;
}

}  // namespace

const QColor WirelessNetworkPage::kConfigured(132, 202, 53);
const QColor WirelessNetworkPage::kUnconfigured(120, 123, 135);

WirelessNetworkPage::WirelessNetworkPage(TransmitterClient& client, protocol::GatewayState& gateway,
                                         QWidget* parent)
    : QWidget(parent), client_(client), gateway_(gateway) {
    setObjectName("132");
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(BuildNodeGrid());

    auto* legend = new QHBoxLayout;
    legend->addStretch();
    legend->addWidget(Legend(kConfigured, QT_TRANSLATE_NOOP("Quillet", "已配置")));
    legend->addSpacing(16);
    legend->addWidget(Legend(kUnconfigured, QT_TRANSLATE_NOOP("Quillet", "未配置")));
    legend->addStretch();
    outer->addLayout(legend);

    auto* settings = new QGroupBox;
    auto* grid = new QGridLayout(settings);
    grid->setColumnStretch(1, 1);

    grid->addWidget(new QLabel(Tr("无线通信信道：")), 0, 0, Qt::AlignRight);
    channel_ = new QComboBox;
    channel_->setObjectName("1049");
    for (int c = 0; c < kChannels; ++c) channel_->addItem(Tr("通道%1").arg(c));
    // No channel is known until one is read in this opening.
    channel_->setCurrentIndex(-1);
    channel_->setEnabled(false);
    grid->addWidget(channel_, 0, 1);
    QPushButton* readChannel = Button("读取无线信道", 1090);
    writeChannel_ = Button("配置无线信道", 1092);
    writeChannel_->setEnabled(false);
    grid->addWidget(readChannel, 0, 2);
    grid->addWidget(writeChannel_, 0, 3);

    grid->addWidget(new QLabel(Tr("无线测点休眠时间(S)：")), 1, 0, Qt::AlignRight);
    sleep_ = new QLineEdit(QString::number(gateway_.sleepTime));
    sleep_->setObjectName("1048");
    grid->addWidget(sleep_, 1, 1);
    QPushButton* readSleep = Button("读取休眠时间", 1091);
    QPushButton* writeSleep = Button("配置休眠时间", 1093);
    grid->addWidget(readSleep, 1, 2);
    grid->addWidget(writeSleep, 1, 3);

    QPushButton* readClimate = Button("读取温湿度值", 1051);
    grid->addWidget(readClimate, 2, 0);
    climate_ = new QLineEdit;
    climate_->setObjectName("1052");
    climate_->setReadOnly(true);
    grid->addWidget(climate_, 2, 1, 1, 3);
    outer->addWidget(settings);

    // The temperature/humidity button acts at most once in this period.
    climateGuard_ = new QTimer(this);
    climateGuard_->setObjectName("timer2");
    climateGuard_->setSingleShot(true);
    climateGuard_->setInterval(kClimateGuardMs);

    connect(readChannel, &QPushButton::clicked, this, [this] { ReadChannel(); });
    connect(writeChannel_, &QPushButton::clicked, this, [this] { WriteChannel(); });
    connect(readSleep, &QPushButton::clicked, this, [this] { ReadSleepTime(); });
    connect(writeSleep, &QPushButton::clicked, this, [this] { WriteSleepTime(); });
    connect(readClimate, &QPushButton::clicked, this, [this] { ReadClimate(); });

    PaintNodes();
}

QWidget* WirelessNetworkPage::BuildNodeGrid() {
    auto* box = new QGroupBox;
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(6);
    for (int row = 0; row < kRows; ++row) {
        const int first = row * kColumns + 1;
        grid->addWidget(new QLabel(Tr("地址%1").arg(first)), row, 0, Qt::AlignRight);
        for (int column = 0; column < kColumns; ++column) {
            const int address = first + column;
            auto* node = new controls::ColourSlotButton;
            node->setObjectName(QString::number(kFirstNodeId + address - 1));
            node->setFixedSize(kNodeSize, kNodeSize);
            node->setToolTip(Tr("地址%1").arg(address));
            connect(node, &QAbstractButton::clicked, this,
                    [this, address] { NodeClicked(address); });
            nodes_[static_cast<std::size_t>(address - 1)] = node;
            grid->addWidget(node, row, column + 1);
        }
        grid->addWidget(new QLabel(Tr("地址%1").arg(first + kColumns - 1)), row, kColumns + 1,
                        Qt::AlignLeft);
    }
    return box;
}

void WirelessNetworkPage::PaintNodes() {
    for (int address = 1; address <= protocol::kGatewayNodes; ++address)
        nodes_[static_cast<std::size_t>(address - 1)]->PaintState(
            gateway_.NodeConfigured(address) ? kConfigured : kUnconfigured);
}

void WirelessNetworkPage::NodeClicked(int address) {
    const auto index = static_cast<std::uint8_t>(address - 1);
    if (gateway_.NodeConfigured(address)) {
        if (ClearDeviceDialog(this).Exec() == 0) return;
        if (!client_.ClearNode(index)) return Failed(this, "清除配置失败，请重新配置");
        gateway_.SetNode(address, false);
        PaintNodes();
        Succeeded(this, "清除配置成功");
        return;
    }
    if (!client_.ConfigureNode(index, &gateway_)) return Failed(this, "配置失败，请重新配置");
    PaintNodes();
    Succeeded(this, "配置成功");
}

void WirelessNetworkPage::ReadSleepTime() {
    std::uint16_t seconds = 0;
    if (!client_.ReadSleepTime(&seconds)) return Failed(this, "读取休眠失败，请重新读取");
    gateway_.sleepTime = seconds;
    sleep_->setText(QString::number(seconds));
}

void WirelessNetworkPage::WriteSleepTime() {
    // Whole seconds, 0..65535.
    const protocol::EntryValue entry =
        protocol::ConvertEntryText(sleep_->text().toStdString(), protocol::EntryRange::Unsigned16);
    if (entry.error != protocol::EntryError::None)
        return NumberRefused(this, entry.error == protocol::EntryError::OutOfRange);
    const auto seconds = static_cast<std::uint16_t>(entry.bits);
    gateway_.sleepTime = seconds;
    if (!client_.WriteSleepTime(seconds)) return Failed(this, "配置休眠时间失败，请重新配置");
    Succeeded(this, "配置休眠时间成功");
}

void WirelessNetworkPage::ReadChannel() {
    std::uint8_t channel = 0;
    if (!client_.ReadChannel(&channel)) return Failed(this, "读取信道失败，请重新读取");
    channel_->setCurrentIndex(channel < kChannels ? channel : -1);
    channel_->setEnabled(true);
    writeChannel_->setEnabled(true);
}

void WirelessNetworkPage::WriteChannel() {
    const int channel = channel_->currentIndex();
    if (channel < 0) return Failed(this, "参数错误");
    if (!client_.WriteChannel(static_cast<std::uint8_t>(channel)))
        return Failed(this, "配置信道失败，请重新配置");
    Succeeded(this, "配置信道成功");
}

void WirelessNetworkPage::ReadClimate() {
    if (climateGuard_->isActive()) return;
    climateGuard_->start();
    climate_->clear();
    std::uint16_t temperature = 0;
    std::uint16_t humidity = 0;
    if (!client_.ReadClimate(&temperature, &humidity)) return;
    climate_->setText(ClimateText(temperature, humidity));
}

}  // namespace quillet
