// The light category: illuminance transmitters of the 0-65535 Lux and 0-200000 Lux ranges,
// each with or without temperature and humidity. Read-only.
#include "page_tables.h"

namespace pages {
namespace {

using namespace cells;

constexpr const char* kLowRange = QT_TRANSLATE_NOOP("pages", "设备量程0-65535Lux光照度");
constexpr const char* kHighRange = QT_TRANSLATE_NOOP("pages", "设备量程0-200000Lux光照度");

// The rows at the left; at the right the note, since reading a device on the page of the
// other range gives wrong values.
PageSpec WithNote(std::vector<Row> rows, int box, const char* range) {
    return {.rows = std::move(rows),
            .realtime = {box, QT_TRANSLATE_NOOP("pages", "实时")},
            .notes = {QT_TRANSLATE_NOOP("pages", "注意："), range,
                      QT_TRANSLATE_NOOP("pages", "具体细节请查看说明书"),
                      QT_TRANSLATE_NOOP("pages", "对应选择 否则会造成测量结果\n不准确")}};
}

}  // namespace

PageSpec LightSpec() {
    return WithNote(
        {{QT_TRANSLATE_NOOP("pages", "光照度"), "Lux", 1041, 1042, 0, 0x0006, U, R, kPolled}}, 1043,
        kLowRange);
}

PageSpec LightHighRangeSpec() {
    return WithNote(
        {{QT_TRANSLATE_NOOP("pages", "光照度"), "Lux", 1044, 1046, 0, 0x0002, U32, R, kPolled},
         {QT_TRANSLATE_NOOP("pages", "光照度"), QT_TRANSLATE_NOOP("pages", "百Lux"), 1045, 1047, 0,
          0x0006, U, R, kPolled}},
        1048, kHighRange);
}

PageSpec LightTempHumiditySpec() {
    return WithNote(
        {{QT_TRANSLATE_NOOP("pages", "温度"), QT_TRANSLATE_NOOP("pages", "℃"), 1031, 1032, 0,
          0x0001, T, R, kPolled},
         {QT_TRANSLATE_NOOP("pages", "湿度"), "%RH", 1012, 1013, 0, 0x0000, T, R, kPolled},
         {QT_TRANSLATE_NOOP("pages", "光照度"), "Lux", 1014, 1015, 0, 0x0006, U, R, kPolled}},
        1033, kLowRange);
}

PageSpec LightHighRangeTempHumiditySpec() {
    return WithNote(
        {{QT_TRANSLATE_NOOP("pages", "温度"), QT_TRANSLATE_NOOP("pages", "℃"), 1034, 1037, 0,
          0x0001, T, R, kPolled},
         {QT_TRANSLATE_NOOP("pages", "湿度"), "%RH", 1035, 1038, 0, 0x0000, T, R, kPolled},
         {QT_TRANSLATE_NOOP("pages", "光照度"), "Lux", 1036, 1039, 0, 0x0002, U32, R, kPolled},
         {QT_TRANSLATE_NOOP("pages", "光照度"), QT_TRANSLATE_NOOP("pages", "百Lux"), 1016, 1017, 0,
          0x0006, U, R, kPolled}},
        1040, kHighRange);
}

}  // namespace pages
