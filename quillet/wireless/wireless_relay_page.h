#pragma once
// The gateway's relay (repeater) page: working mode, relay channel and air data rate. The
// lists show the values stored in the gateway state when the page opens and after a read;
// the set command sends the stored values, so one the lists cannot show (a channel of 40
// from the device) goes back as it came and its list stays without a selection.
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

  signals:
    // The user chose a relay mode in 1076: the network page serves only a relay slave (0).
    void ModeChosen(int mode);

  private:
    // Selects the stored values in the three lists (none where a value is outside its list).
    void ShowStored();
    void ReadRelay();
    void WriteRelay();

    TransmitterClient& client_;
    protocol::GatewayState& gateway_;
    QComboBox* mode_ = nullptr;
    QComboBox* channel_ = nullptr;
    QComboBox* airRate_ = nullptr;
};

}  // namespace quillet
