#include "categories.h"

#include "alarm_pages.h"
#include "temp_humidity_pages.h"

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
         {{"6W光照度", {}},
          {"20W光照度", {}},
          {"6W光照度温湿度一体", {}},
          {"20W光照度温湿度一体", {}}},
         {}},
        {"气体类",
         1008,
         {{"油烟", {}},
          {" CO2 ", {}},
          {" CO ", {}},
          {" TOVC ", {}},
          {" SO2 ", {}},
          {" NO2 ", {}},
          {"  O2  ", {}},
          {" H2S ", {}},
          {" NH3 ", {}},
          {" O3 ", {}},
          {" QX40", {}}},
         {}},
        {"风速|风向", 1008, {{"风向", {}}, {"风速", {}}}, {}},
        {"土壤",
         1008,
         {{"土壤三合一", {}},
          {"土壤温度含水率", {}},
          {"土壤含水率", {}},
          {"土壤电导率", {}},
          {"土壤PH", {}}},
         {}},
        {"气象传感器",
         1008,
         {{"噪声", {}},
          {"大气压力", {}},
          {"雨量计", {}},
          {"百叶盒CO2", {}},
          {"太阳辐射", {}},
          {"紫外线", {}},
          {"百叶盒PM", {}},
          {"雨雪", {}},
          {"空气质量", {}},
          {"粉尘测试仪", {}},
          {"蒸发量", {}}},
         {}},
        {"电流电压", 1008, {{"电流采集器", {}}}, {}},
        {"油烟系类", 1346, {{"485油烟", {}}}, {}},
        {"电子水尺", 0, {}, {}},
    };
    return categories;
}

}  // namespace pages
