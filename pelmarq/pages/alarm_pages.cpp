#include "alarm_pages.h"

namespace pages {
namespace {

PageSpec StatusSpec(int edit, int query, int box, std::uint16_t reg, std::uint16_t normal,
                    std::uint16_t alarm) {
    Row status{"状态", "", edit, query, 0, reg, Encoding::Status, Access::Read, kPolled};
    status.normal = normal;
    status.alarm = alarm;
    return {.rows = {status}, .realtime = {box, "实时"}, .centered = true};
}

}  // namespace

WaterLeakPage::WaterLeakPage(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, StatusSpec(1028, 1029, 1030, 0x0002, 1, 2), parent) {}

SmokePage::SmokePage(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, StatusSpec(1019, 1020, 1021, 0x0003, 0, 1), parent) {}

IntrusionPage::IntrusionPage(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, StatusSpec(1025, 1026, 1027, 0x0003, 0, 1), parent) {}

}  // namespace pages
