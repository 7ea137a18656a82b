#include "device_places.h"

namespace pages {

const std::vector<DevicePlace>& DevicePlaces() {
    static const std::vector<DevicePlace> places = {
        {"temperature", "温湿度类", "单温度"},
        {"th", "温湿度类", "温湿度"},
        {"th-board", "温湿度类", "温湿度看板"},
        {"water-leak", "水浸|烟感|红外", "水浸"},
        {"smoke", "水浸|烟感|红外", "烟感"},
        {"intrusion", "水浸|烟感|红外", "非法入侵"},
        {"light", "光照度类", "6W光照度"},
        {"light-20w", "光照度类", "20W光照度"},
        {"light-th", "光照度类", "6W光照度温湿度一体"},
        {"light-20w-th", "光照度类", "20W光照度温湿度一体"},
        {"oil-fume-sensor", "气体类", "油烟"},
        {"co2", "气体类", " CO2 "},
        {"co2-gas", "气体类", " CO2 ", "单二氧化碳浓度"},
        {"co", "气体类", " CO "},
        {"co-gas", "气体类", " CO ", "单一氧化碳浓度"},
        {"tvoc", "气体类", " TOVC "},
        {"so2", "气体类", " SO2 "},
        {"so2-gas", "气体类", " SO2 ", "单二氧化硫浓度"},
        {"no2", "气体类", " NO2 "},
        {"no2-gas", "气体类", " NO2 ", "单二氧化氮浓度"},
        {"o2", "气体类", "  O2  "},
        {"o2-gas", "气体类", "  O2  ", "单氧气0-25%vol"},
        {"h2s", "气体类", " H2S "},
        {"h2s-gas", "气体类", " H2S ", "单硫化氢设备"},
        {"nh3", "气体类", " NH3 "},
        {"nh3-gas", "气体类", " NH3 ", "单氨气 0-50ppm"},
        {"o3", "气体类", " O3 "},
        {"o3-gas", "气体类", " O3 ", "单臭氧设备0-10ppm"},
        {"qx40", "气体类", " QX40"},
        {"wind-direction", "风速|风向", "风向"},
        {"wind-speed", "风速|风向", "风速"},
        {"soil-3in1", "土壤", "土壤三合一"},
        {"soil-th", "土壤", "土壤温度含水率"},
        {"soil-moisture", "土壤", "土壤含水率"},
        {"soil-ec", "土壤", "土壤电导率"},
        {"soil-ph", "土壤", "土壤PH"},
        {"noise", "气象传感器", "噪声"},
        {"pressure", "气象传感器", "大气压力"},
        {"rain-gauge", "气象传感器", "雨量计"},
        {"louver-co2", "气象传感器", "百叶盒CO2"},
        {"radiation", "气象传感器", "太阳辐射"},
        {"uv", "气象传感器", "紫外线"},
        {"louver-pm", "气象传感器", "百叶盒PM"},
        {"rain-snow", "气象传感器", "雨雪"},
        {"air-quality", "气象传感器", "空气质量"},
        {"dust", "气象传感器", "粉尘测试仪"},
        {"evaporation", "气象传感器", "蒸发量"},
        {"current", "电流电压", "电流采集器"},
        {"oil-fume", "油烟系类", "485油烟"},
        {"water-gauge", "电子水尺", nullptr},
        {"gauge-relay", "电子水尺", nullptr},
    };
    return places;
}

const DevicePlace* PlaceOf(std::string_view device) {
    for (const DevicePlace& place : DevicePlaces())
        if (device == place.device) return &place;
    return nullptr;
}

}  // namespace pages
