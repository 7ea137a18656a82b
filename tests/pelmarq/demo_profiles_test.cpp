// Every sub-tab of the light, wind, soil, weather, current and water gauge categories
// against the demo device made for it: each query answers without a box, the poll too.
#include <QLabel>
#include <QTabWidget>

#include "categories.h"
#include "page_rig.h"

namespace pagetest {
namespace {

struct Demo {
    const char* category;
    const char* tab;  // nullptr: the category is the page
    const char* profile;
};

const Demo kDemos[] = {
    {"光照度类", "6W光照度", "light"},
    {"光照度类", "20W光照度", "light-20w"},
    {"光照度类", "6W光照度温湿度一体", "light-th"},
    {"光照度类", "20W光照度温湿度一体", "light-20w-th"},
    {"风速|风向", "风向", "wind-direction"},
    {"风速|风向", "风速", "wind-speed"},
    {"土壤", "土壤三合一", "soil-3in1"},
    {"土壤", "土壤温度含水率", "soil-th"},
    {"土壤", "土壤含水率", "soil-moisture"},
    {"土壤", "土壤电导率", "soil-ec"},
    {"土壤", "土壤PH", "soil-ph"},
    {"气象传感器", "噪声", "noise"},
    {"气象传感器", "大气压力", "pressure"},
    {"气象传感器", "雨量计", "rain-gauge"},
    {"气象传感器", "百叶盒CO2", "louver-co2"},
    {"气象传感器", "太阳辐射", "radiation"},
    {"气象传感器", "紫外线", "uv"},
    {"气象传感器", "百叶盒PM", "louver-pm"},
    {"气象传感器", "雨雪", "rain-snow"},
    {"气象传感器", "空气质量", "air-quality"},
    {"气象传感器", "粉尘测试仪", "dust"},
    {"气象传感器", "蒸发量", "evaporation"},
    {"电流电压", "电流采集器", "current"},
    {"电子水尺", nullptr, "water-gauge"},
    {"电子水尺", nullptr, "gauge-relay"},
};

pages::PageFactory FactoryOf(const Demo& d) {
    for (const pages::Category& c : pages::Categories()) {
        if (std::string_view(c.title) != d.category) continue;
        if (!d.tab) return c.page;
        for (const pages::SubTab& t : c.tabs)
            if (std::string_view(t.title) == d.tab) return t.make;
    }
    return {};
}

TEST(DemoProfiles, EveryPageReadsItsDemoDevice) {
    for (const Demo& d : kDemos) {
        SCOPED_TRACE(d.profile);
        const sim::Profile* profile = sim::FindProfile(d.profile);
        ASSERT_TRUE(profile);
        EXPECT_EQ(profile->program, "pelmarq");
        const pages::PageFactory make = FactoryOf(d);
        ASSERT_TRUE(make) << "no page for " << d.category << " " << (d.tab ? d.tab : "");
        PageRig rig(profile);
        auto* page = qobject_cast<pages::DevicePage*>(rig.Page(make));
        ASSERT_TRUE(page);
        int queries = 0;
        for (QPushButton* b : page->findChildren<QPushButton*>()) {
            if (!b->isVisibleTo(page) || !b->isEnabled() || b->text() == "设置") continue;
            b->click();
            ++queries;
        }
        EXPECT_GT(queries, 0);
        page->Poll();
        EXPECT_TRUE(rig.boxes.Boxes().empty()) << rig.boxes.Texts().toStdString();
        for (QLineEdit* e : page->findChildren<QLineEdit*>()) {
            if (!e->isVisibleTo(page) || !e->isEnabled()) continue;
            EXPECT_FALSE(e->text().isEmpty()) << e->objectName().toStdString();
        }
    }
}

}  // namespace
}  // namespace pagetest
