#include "wireless_dialog.h"

#include <QTabWidget>
#include <QVBoxLayout>

#include "dialog_text.h"
#include "return_key.h"
#include "scroll_window.h"
#include "wireless_network_page.h"
#include "wireless_relay_page.h"

namespace quillet {

WirelessDialog::WirelessDialog(TransmitterClient& client, protocol::GatewayState& gateway,
                               QWidget* parent)
    : QDialog(parent) {
    setObjectName("146");
    setWindowTitle(Tr("无线参数设置"));
    auto* outer = new QVBoxLayout(this);
    tabs_ = new QTabWidget;
    tabs_->setObjectName("1074");
    outer->addWidget(tabs_);

    network_ = new WirelessNetworkPage(client, gateway);
    tabs_->addTab(network_, Tr("无线组网参数  "));
    if (gateway.relaySupport) {
        relay_ = new WirelessRelayPage(client, gateway);
        tabs_->addTab(relay_, Tr("无线中继参数  "));
        // The network page serves a relay slave only; a relay master opens on its relay tab.
        // After that only the user's own choice of mode switches it: a read of the relay
        // parameters or a configure-node reply stores the mode but leaves the page as it is.
        connect(relay_, &WirelessRelayPage::ModeChosen, this,
                [this](int mode) { network_->setEnabled(mode == 0); });
        network_->setEnabled(gateway.relayMode == 0);
        tabs_->setCurrentIndex(gateway.relayMode != 0 ? 1 : 0);
    }
    ui::KeepReturnInFields(this);
    ui::ScrollWhenSmall(this);
}

}  // namespace quillet
