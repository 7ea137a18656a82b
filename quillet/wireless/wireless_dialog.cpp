#include "wireless_dialog.h"

#include "dialog_text.h"

namespace quillet {

WirelessDialog::WirelessDialog(TransmitterClient& client, protocol::GatewayState& gateway,
                               QWidget* parent)
    : QDialog(parent), client_(client), gateway_(gateway) {
    setObjectName("146");
    setWindowTitle(Tr("无线参数设置"));
    resize(560, 300);
}

}  // namespace quillet
