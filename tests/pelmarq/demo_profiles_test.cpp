// Every page against the demo device made for it: each query answers without a box, the poll
// too, and every field shows a value.
#include <QLabel>
#include <QTabWidget>

#include "categories.h"
#include "device_places.h"
#include "page_rig.h"

namespace pagetest {
namespace {

pages::PageFactory FactoryOf(const pages::DevicePlace& place) {
    for (const pages::Category& c : pages::Categories()) {
        if (std::string_view(c.title) != place.category) continue;
        if (!place.tab) return c.page;
        for (const pages::SubTab& t : c.tabs)
            if (std::string_view(t.title) == place.tab) return t.make;
    }
    return {};
}

// Every device the simulator makes for Pelmarq has its page, and every page entry names one.
TEST(DemoProfiles, EveryDeviceHasItsPage) {
    for (const sim::Profile* profile : sim::ProfilesFor("pelmarq")) {
        SCOPED_TRACE(profile->name);
        const pages::DevicePlace* place = pages::PlaceOf(profile->name);
        ASSERT_TRUE(place);
        EXPECT_TRUE(FactoryOf(*place));
    }
    for (const pages::DevicePlace& place : pages::DevicePlaces()) {
        const sim::Profile* profile = sim::FindProfile(place.device);
        ASSERT_TRUE(profile) << place.device;
        EXPECT_EQ(profile->program, "pelmarq");
    }
    EXPECT_EQ(pages::PlaceOf("gateway"), nullptr);
}

TEST(DemoProfiles, EveryPageReadsItsDemoDevice) {
    for (const pages::DevicePlace& place : pages::DevicePlaces()) {
        SCOPED_TRACE(place.device);
        const sim::Profile* profile = sim::FindProfile(place.device);
        ASSERT_TRUE(profile);
        const pages::PageFactory make = FactoryOf(place);
        ASSERT_TRUE(make);
        PageRig rig(profile);
        auto* page = qobject_cast<pages::DevicePage*>(rig.Page(make));
        ASSERT_TRUE(page);
        if (place.type) {
            ASSERT_TRUE(page->ChooseSensorType(QString::fromUtf8(place.type)));
        }
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
