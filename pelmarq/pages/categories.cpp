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
          {" CO2 ", MakeWithTypes<Co2Page>(Co2Types())},
          {" CO ", MakeWithTypes<CoPage>(CoTypes())},
          {" TOVC ", Make<TvocPage>},
          {" SO2 ", MakeWithTypes<So2Page>(So2Types())},
          {" NO2 ", MakeWithTypes<No2Page>(No2Types())},
          {"  O2  ", MakeWithTypes<O2Page>(O2Types())},
          {" H2S ", MakeWithTypes<H2sPage>(H2sTypes())},
          {" NH3 ", MakeWithTypes<Nh3Page>(Nh3Types())},
          {" O3 ", MakeWithTypes<O3Page>(O3Types())},
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
