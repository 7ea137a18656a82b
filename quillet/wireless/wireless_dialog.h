#pragma once
// The wireless parameter dialog, shown while the gateway is in configuration mode. It works
// on the main dialog's client and on the gateway state the configuration-mode reply filled.
// The network and relay pages are not built yet: for now it is the bare, closable window.
#include <QDialog>

#include "wireless_frames.h"

namespace quillet {

class TransmitterClient;

class WirelessDialog : public QDialog {
    Q_OBJECT

  public:
    WirelessDialog(TransmitterClient& client, protocol::GatewayState& gateway,
                   QWidget* parent = nullptr);

  private:
    TransmitterClient& client_;
    protocol::GatewayState& gateway_;
};

}  // namespace quillet
