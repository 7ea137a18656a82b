#include "categories.h"

#include "alarm_pages.h"
#include "dust_current_pages.h"
#include "evaporation_page.h"
#include "gas_pages.h"
#include "light_pages.h"
#include "multi_gas_page.h"
#include "oil_fume_page.h"
#include "oil_fume_sensor_page.h"
#include "soil_pages.h"
#include "temp_humidity_pages.h"
#include "water_gauge_page.h"
#include "weather_pages.h"
#include "wind_pages.h"

namespace pages {

const std::vector<Category>& Categories() {
    static const std::vector<Category> categories = {
        {"温湿度类",
         1008,
         {{"单温度", Make<TemperaturePage>},
          {"温湿度", Make<TempHumidityPage>},
          {"温湿度看板", Make<TempHumidityBoardPage>}},
         {}},
        {"水浸|烟感|红外",
         1008,
         {{"水浸", Make<WaterLeakPage>},
          {"烟感", Make<SmokePage>},
          {"非法入侵", Make<IntrusionPage>}},
         {}},
        {"光照度类",
         1008,
         {{"6W光照度", MakeTable<LightSpec>},
          {"20W光照度", MakeTable<LightHighRangeSpec>},
          {"6W光照度温湿度一体", MakeTable<LightTempHumiditySpec>},
          {"20W光照度温湿度一体", MakeTable<LightHighRangeTempHumiditySpec>}},
         {}},
        {"气体类",
         1008,
         {{"油烟", Make<OilFumeSensorPage>},
          {" CO2 ", MakeWithTypes<Co2Page>({"单二氧化碳浓度", "二氧化碳温湿度一体"}, 1)},
          {" CO ", MakeWithTypes<CoPage>({"单一氧化碳浓度", "一氧化碳温湿度一体"}, 1)},
          {" TOVC ", Make<TvocPage>},
          {" SO2 ", MakeWithTypes<So2Page>({"单二氧化硫浓度", "二氧化硫温湿度一体"}, 1)},
          {" NO2 ", MakeWithTypes<No2Page>({"单二氧化氮浓度", "二氧化氮温湿度一体"}, 1)},
          {"  O2  ", MakeWithTypes<O2Page>({"单氧气0-25%vol", "氧气温湿度一体0-25%vol"}, 1)},
          {" H2S ", MakeWithTypes<H2sPage>({"单硫化氢设备", "硫化氢温湿度一体"}, 1)},
          {" NH3 ", MakeWithTypes<Nh3Page>(
                        {"单氨气 0-50ppm", "单氨气 0-100ppm", "单氨气 0-500ppm",
                         "氨气温湿度 0-50ppm", "氨气温湿度 0-100ppm", "氨气温湿度 0-500ppm"},
                        3)},
          {" O3 ", MakeWithTypes<O3Page>({"单臭氧设备0-10ppm", "单臭氧设备0-100ppm",
                                          "臭氧温湿度一体0-10ppm", "臭氧温湿度一体0-100ppm"},
                                         2)},
          {" QX40", Make<MultiGasPage>}},
         {}},
        {"风速|风向", 1008, {{"风向", Make<WindDirectionPage>}, {"风速", Make<WindSpeedPage>}}, {}},
        {"土壤",
         1008,
         {{"土壤三合一", MakeTable<SoilThreeInOneSpec>},
          {"土壤温度含水率", MakeTable<SoilTempMoistureSpec>},
          {"土壤含水率", MakeTable<SoilMoistureSpec>},
          {"土壤电导率", Make<SoilConductivityPage>},
          {"土壤PH", MakeTable<SoilPhSpec>}},
         {}},
        {"气象传感器",
         1008,
         {{"噪声", MakeTable<NoiseSpec>},
          {"大气压力", MakeTable<PressureSpec>},
          {"雨量计", MakeTable<RainGaugeSpec>},
          {"百叶盒CO2", MakeTable<LouverCo2Spec>},
          {"太阳辐射", MakeTable<RadiationSpec>},
          {"紫外线", MakeUvPage},
          {"百叶盒PM", MakeTable<LouverPmSpec>},
          {"雨雪", MakeTable<RainSnowSpec>},
          {"空气质量", MakeTable<AirQualitySpec>},
          {"粉尘测试仪", MakeTable<DustSpec>},
          {"蒸发量", Make<EvaporationPage>}},
         {}},
        {"电流电压", 1008, {{"电流采集器", MakeTable<CurrentCollectorSpec>}}, {}},
        {"油烟系类", 1346, {{"485油烟", Make<OilFumePage>}}, {}},
        {"电子水尺", 0, {}, Make<WaterGaugePage>},
    };
    return categories;
}

}  // namespace pages
