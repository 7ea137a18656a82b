#include "clear_device_dialog.h"

#include "dialog_text.h"
#include "message_box.h"

namespace quillet {

std::uint8_t ClearDeviceDialog::Exec() {
    answer_ = 0;
    if (ui::Ask(owner_, Tr("是否清除本设备？"), Tr("提示"), ui::BoxIcon::None) ==
        ui::BoxAnswer::Yes)
        answer_ = 1;
    return answer_;
}

}  // namespace quillet
