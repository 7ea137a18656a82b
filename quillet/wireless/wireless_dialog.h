#pragma once
// The wireless parameter dialog, shown while the gateway is in configuration mode: the
// network page, and the relay page when the gateway reported relay support. It works on the
// main dialog's client and on the gateway state the configuration-mode reply filled, and is
// built anew for every opening, so the tab choice follows the state of that moment.
#include <QDialog>

#include "wireless_frames.h"

class QTabWidget;

namespace quillet {

class TransmitterClient;
class WirelessNetworkPage;
class WirelessRelayPage;

class WirelessDialog : public QDialog {
    Q_OBJECT

  public:
    WirelessDialog(TransmitterClient& client, protocol::GatewayState& gateway,
                   QWidget* parent = nullptr);

    QTabWidget* Tabs() const { return tabs_; }
    WirelessNetworkPage* NetworkPage() const { return network_; }
    // Null without relay support.
    WirelessRelayPage* RelayPage() const { return relay_; }

  private:
    QTabWidget* tabs_ = nullptr;
    WirelessNetworkPage* network_ = nullptr;
    WirelessRelayPage* relay_ = nullptr;
};

}  // namespace quillet
