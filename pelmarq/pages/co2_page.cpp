// The CO2 transmitter: live values, temperature, humidity and CO2 limits and calibrations,
// and rows the device has but the page never shows (hysteresis, the "RegEn" switches and
// the status word), all wired like the visible ones.
#include "gas_pages.h"

namespace pages {
namespace {

constexpr auto T = Encoding::Tenths;
constexpr auto U = Encoding::UInt;
constexpr auto R = Access::Read;
constexpr auto RW = Access::ReadWrite;
constexpr unsigned TH = kTempHumidity;

PageSpec Co2Spec() {
    return {
        .rows =
            {
                {"温度", "℃", 1049, 1051, 0, 0x0001, T, R, kPolled | TH, 0},
                {"湿度", "%RH", 1050, 1052, 0, 0x0000, T, R, kPolled | TH, 0},
                {"CO2", "ppm", 1053, 1054, 0, 0x0002, U, R, kPolled, 0},
                {"温度上限", "℃", 1055, 1056, 1061, 0x0030, T, RW, TH, 0},
                {"温度下限", "℃", 1057, 1058, 1062, 0x0031, T, RW, TH, 0},
                {"温度校准", "℃", 1094, 1095, 1096, 0x0033, T, RW, TH, 0},
                {"湿度上限", "%RH", 1064, 1065, 1070, 0x0035, T, RW, TH, 1},
                {"湿度下限", "%RH", 1066, 1067, 1071, 0x0036, T, RW, TH, 1},
                {"湿度校准", "%RH", 1097, 1098, 1099, 0x0038, T, RW, TH, 1},
                {"CO2上限", "ppm", 1073, 1074, 1079, 0x003A, U, RW, 0, 1},
                // A failed read of the lower limit leaves the field empty without a box.
                {"CO2下限", "ppm", 1075, 1076, 1080, 0x003B, U, RW, kQuietQuery, 1},
                {"CO2校准", "ppm", 1100, 1101, 1102, 0x003D, Encoding::Whole, RW, 0, 1},
                {"温度回差", "℃", 1059, 1060, 1063, 0x0032, T, RW, TH | kHidden, 1},
                {"TRegEn", "", 1085, 1086, 1087, 0x0034, Encoding::Bool01, RW, TH | kHidden, 1},
                {"湿度回差", "%RH", 1068, 1069, 1072, 0x0037, T, RW, TH | kHidden, 1},
                // Enabled or not, kept in tenths like the humidity values: 1 is written as 10.
                {"HRegEn", "", 1091, 1092, 1093, 0x0039, T, RW, TH | kHidden | kOnly01, 1},
                {"CO2回差", "ppm", 1077, 1078, 1081, 0x003C, U, RW, kHidden, 1},
                {"CO2Regen", "", 1082, 1083, 1084, 0x003E, Encoding::Bool01, RW, kHidden, 1},
                {"RegStatus", "", 1088, 1089, 1090, 0x0040, U, RW, kHidden, 1},
            },
        .realtime = {.id = 1015, .text = "实时", .column = 0, .afterRow = 2},
        .sensorType = true,
        .sensorTypeId = 1237,
    };
}

}  // namespace

Co2Page::Co2Page(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, Co2Spec(), parent) {}

}  // namespace pages
