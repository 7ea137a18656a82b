#pragma once
// The gateway's network page: its table of 200 measuring points as a grid of colour-slot
// buttons (green configured, grey not), the radio channel, the sleep time and a reading of
// the gateway's own temperature and humidity. A node button configures an unconfigured
// node, or clears a configured one after an explicit "是".
#include <QColor>
#include <QWidget>
#include <array>

#include "wireless_frames.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTimer;

namespace controls {
class ColourSlotButton;
}

namespace quillet {

class TransmitterClient;

class WirelessNetworkPage : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kFirstNodeId = 1139;
    static constexpr int kRows = 8;
    static constexpr int kColumns = 25;
    static constexpr int kChannels = 64;
    static constexpr int kClimateGuardMs = 600;
    static const QColor kConfigured;
    static const QColor kUnconfigured;

    WirelessNetworkPage(TransmitterClient& client, protocol::GatewayState& gateway,
                        QWidget* parent = nullptr);

  private:
    QWidget* BuildNodeGrid();
    void PaintNodes();
    void NodeClicked(int address);
    void ReadSleepTime();
    void WriteSleepTime();
    void ReadChannel();
    void WriteChannel();
    void ReadClimate();

    TransmitterClient& client_;
    protocol::GatewayState& gateway_;
    std::array<controls::ColourSlotButton*, protocol::kGatewayNodes> nodes_{};
    QComboBox* channel_ = nullptr;
    QPushButton* writeChannel_ = nullptr;
    QLineEdit* sleep_ = nullptr;
    QLineEdit* climate_ = nullptr;
    QTimer* climateGuard_ = nullptr;
};

}  // namespace quillet
