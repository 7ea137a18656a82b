#include "oil_fume_sensor_page.h"

namespace pages {
namespace {

constexpr auto H = Encoding::Hundredths;

PageSpec OilFumeSensorSpec() {
    return {.rows = {{"油烟值", "mg/m3", 0, 0, 0, 0x0000, H, Access::Read, kPolled},
                     {"校准值", "mg/m3", 0, 0, 0, 0x0050, H, Access::ReadWrite},
                     {"系数值", "", 0, 0, 0, 0x0200, Encoding::Float, Access::ReadWrite},
                     {"版本号", "", 0, 0, 0, 0x0007, Encoding::UInt, Access::Read, kHidden}},
            .realtime = {0, "实时"}};
}

}  // namespace

OilFumeSensorPage::OilFumeSensorPage(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, OilFumeSensorSpec(), parent) {}

}  // namespace pages
