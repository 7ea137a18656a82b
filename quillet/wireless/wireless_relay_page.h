#pragma once
// The gateway's relay (repeater) page: working mode, relay channel and air data rate. The
// lists show the values stored in the gateway state; the set command sends the stored
// values, so one the lists cannot show (a channel of 40 from the device) goes back as it
// came and its list stays without a selection.
#include <QWidget>

#include "wireless_frames.h"

class QComboBox;

namespace quillet {

class TransmitterClient;

class WirelessRelayPage : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kRelayChannels = 32;

    WirelessRelayPage(TransmitterClient& client, protocol::GatewayState& gateway,
                      QWidget* parent = nullptr);

    // Selects the stored values in the three lists (none where a value is outside its list).
    void ShowStored();

  signals:
    // The stored relay mode changed: the network page serves only a relay slave (mode 0).
    void ModeChanged(int mode);

  private:
    void ReadRelay();
    void WriteRelay();

    TransmitterClient& client_;
    protocol::GatewayState& gateway_;
    QComboBox* mode_ = nullptr;
    QComboBox* channel_ = nullptr;
    QComboBox* airRate_ = nullptr;
};

}  // namespace quillet
