// Every page of the command line's catalogue against its window: pelmarq-cli's read of the
// page's simulated device gives, control by control, the text the window's page shows
// after a click on every query button, and the window has a control of every name the
// command line prints.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>

#include "../cli/cli_runner.h"
#include "categories.h"
#include "page_catalogue.h"
#include "page_rig.h"

namespace pagetest {
namespace {

pages::PageFactory FactoryOf(const pages::PageEntry& e) {
    for (const pages::Category& c : pages::Categories()) {
        if (std::string_view(c.title) != e.category) continue;
        if (!e.tab) return c.page;
        for (const pages::SubTab& t : c.tabs)
            if (std::string_view(t.title) == e.tab) return t.make;
    }
    return {};
}

TEST(CliPageText, EveryPageReadsAsTheWindowShowsIt) {
    for (const pages::PageEntry& entry : pages::PageCatalogue()) {
        SCOPED_TRACE(entry.name);
        const sim::Profile* profile = sim::FindProfile(entry.name);
        ASSERT_TRUE(profile);
        const pages::PageFactory make = FactoryOf(entry);
        ASSERT_TRUE(make);
        PageRig rig(profile);
        rig.device->Freeze();
        auto* page = qobject_cast<pages::DevicePage*>(rig.Page(make));
        ASSERT_TRUE(page);
        // The window builds the same table the command line reads.
        const pages::PageSpec spec = entry.spec();
        ASSERT_EQ(page->Spec().rows.size(), spec.rows.size());
        for (std::size_t i = 0; i < spec.rows.size(); ++i) {
            EXPECT_EQ(page->Spec().rows[i].reg, spec.rows[i].reg);
            EXPECT_STREQ(page->Spec().rows[i].label, spec.rows[i].label);
        }
        if (entry.types) {
            const pages::SensorTypes types = entry.types();
            QStringList items;
            for (const char* item : types.items) items << QString::fromUtf8(item);
            page->SetSensorTypes(items, entry.type >= 0 ? entry.type : types.defaultIndex);
        }
        for (QPushButton* b : page->findChildren<QPushButton*>())
            if (b->isVisibleTo(page) && b->isEnabled() && b->text() != "设置") b->click();
        EXPECT_TRUE(rig.boxes.Boxes().empty()) << rig.boxes.Texts().toStdString();
        rig.link.Port().Close();

        const auto run = clitest::RunCli(
            {"--json", "read", rig.line.Path(), "-a", std::to_string(rig.device->Address()), "-b",
             std::to_string(rig.device->Baud()), "--page", entry.name});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        const QJsonArray list = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).array();
        EXPECT_FALSE(list.isEmpty());
        for (const QJsonValue& v : list) {
            const QString name = v["name"].toString();
            const QString text = v["text"].toString();
            if (auto* edit = page->findChild<QLineEdit*>(name)) {
                EXPECT_EQ(edit->text(), text) << name.toStdString();
                EXPECT_TRUE(edit->isVisibleTo(page)) << name.toStdString();
            } else if (auto* combo = page->findChild<QComboBox*>(name)) {
                EXPECT_EQ(combo->currentText(), text) << name.toStdString();
            } else if (auto* label = page->findChild<QLabel*>(name)) {
                EXPECT_EQ(label->text(), text) << name.toStdString();
            } else {
                ADD_FAILURE() << "the window has no control " << name.toStdString();
            }
        }
    }
}

}  // namespace
}  // namespace pagetest
