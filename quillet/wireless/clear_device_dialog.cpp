#include "clear_device_dialog.h"

#include "dialog_text.h"
#include "message_box.h"

namespace quillet {

std::uint8_t ClearDeviceDialog::Exec() {
    const ui::BoxAnswer answer =
        ui::Ask(owner_, Tr("是否清除本设备？"), Tr("提示"), ui::BoxIcon::None,
                {QStringLiteral("1050"), QStringLiteral("1051")});
    return answer == ui::BoxAnswer::Yes ? 1 : 0;
}

}  // namespace quillet
