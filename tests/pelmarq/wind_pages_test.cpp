// Wind pages against simulated transmitters: the direction name and arrow from the code,
// what the page shows without a reading, and the signed wind speed.
#include "wind_pages.h"

#include <QLabel>

#include "page_rig.h"

namespace pagetest {
namespace {

using pages::Make;

// The picture's resource; empty when the picture could not be loaded.
QString IconOf(QWidget* page) {
    auto* icon = Find<QLabel>(page, "1238");
    return icon->pixmap().isNull() ? QString() : icon->property("icon").toString();
}
QString NameOf(QWidget* page) {
    return Find<QLabel>(page, "风向:value")->text();
}

TEST(WindDirectionPage, OneQueryReadsBothRegistersAndNamesTheDirection) {
    struct Case {
        std::uint16_t code;
        const char* field;
        const char* name;
        const char* icon;
    };
    const Case cases[] = {
        {0, "0", "北风", ":/pelmarq/wind_n.png"},     {3, "3", "东南风", ":/pelmarq/wind_se.png"},
        {7, "7", "西北风", ":/pelmarq/wind_nw.png"},  {9, "9", "非法", ":/pelmarq/wind_n.png"},
        {258, "258", "东风", ":/pelmarq/wind_e.png"},  // low 8 bits name it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        PageRig rig({{0, c.code}, {1, 135}});
        QWidget* page = rig.Page(Make<pages::WindDirectionPage>);
        ASSERT_TRUE(rig.Click("寄存器0:query"));
        EXPECT_EQ(rig.line.Received(),
                  (std::vector<sim::Bytes>{PageRig::Read(0), PageRig::Read(1)}));
        EXPECT_EQ(rig.Text("寄存器0:edit"), c.field);
        EXPECT_EQ(rig.Text("寄存器1:edit"), "135");
        EXPECT_EQ(NameOf(page), QString::fromUtf8(c.name));
        EXPECT_EQ(IconOf(page), c.icon);
        EXPECT_TRUE(rig.boxes.Boxes().empty());
    }
}

// No reading, no direction: before the first query and after a failed one the page shows
// its caption and the dial without an arrow, never a north wind it did not measure.
TEST(WindDirectionPage, WithoutAReadingShowsNoDirection) {
    PageRig rig({{0, 3}, {1, 135}});
    auto* page = static_cast<pages::DevicePage*>(rig.Page(Make<pages::WindDirectionPage>));
    EXPECT_EQ(NameOf(page), "风向");
    EXPECT_EQ(IconOf(page), ":/pelmarq/wind_none.png");

    page->Poll();
    EXPECT_EQ(NameOf(page), "东南风");

    rig.line.SetFault(sim::Fault::Silence);
    page->Poll();
    EXPECT_EQ(rig.Text("寄存器0:edit"), "");
    EXPECT_EQ(NameOf(page), "风向");
    EXPECT_EQ(IconOf(page), ":/pelmarq/wind_none.png");
    EXPECT_TRUE(rig.boxes.Boxes().empty());

    // A query of a silent device reports each register's failure and empties both fields.
    ASSERT_TRUE(rig.Click("寄存器0:query"));
    EXPECT_EQ(rig.boxes.Texts(), "警告: 读取格式错误 | 警告: 读取格式错误");
    EXPECT_EQ(rig.Text("寄存器1:edit"), "");
}

// The two registers are two reads: each field shows its own, or is emptied by its own failure,
// by the query (each failure with its box) and by the poll (without boxes).
TEST(WindDirectionPage, EachRegisterIsReadOnItsOwn) {
    const struct {
        const char* name;
        bool poll;
        int silent;  // replies left unanswered from the first read on
        const char *code, *second, *direction;
        QString boxes;
    } cases[] = {
        {"query, first unanswered", false, 1, "", "135", "风向", "警告: 读取格式错误"},
        {"poll, first unanswered", true, 1, "", "135", "风向", ""},
        {"poll", true, 0, "3", "135", "东南风", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PageRig rig({{0, 3}, {1, 135}});
        auto* page = static_cast<pages::DevicePage*>(rig.Page(Make<pages::WindDirectionPage>));
        if (c.silent) rig.line.SetFault(sim::Fault::Silence, c.silent);
        if (c.poll)
            page->Poll();
        else
            ASSERT_TRUE(rig.Click("寄存器0:query"));
        EXPECT_EQ(rig.line.Received(),
                  (std::vector<sim::Bytes>{PageRig::Read(0), PageRig::Read(1)}));
        EXPECT_EQ(rig.Text("寄存器0:edit"), c.code);
        EXPECT_EQ(rig.Text("寄存器1:edit"), c.second);
        EXPECT_EQ(NameOf(page), QString::fromUtf8(c.direction));
        EXPECT_EQ(rig.boxes.Texts(), c.boxes);
    }
}

// The wind pages only show readings: their fields take no typing.
TEST(WindPages, ValueFieldsAreReadOnly) {
    for (pages::PageFactory make : {pages::PageFactory(Make<pages::WindDirectionPage>),
                                    pages::PageFactory(Make<pages::WindSpeedPage>)}) {
        PageRig rig;
        QWidget* page = rig.Page(make);
        const QList<QLineEdit*> fields = page->findChildren<QLineEdit*>();
        ASSERT_FALSE(fields.isEmpty());
        for (QLineEdit* field : fields) {
            EXPECT_TRUE(field->isReadOnly()) << field->objectName().toStdString();
            field->setFocus();
            QTest::keyClicks(field, "42");
            EXPECT_EQ(field->text(), "") << field->objectName().toStdString();
        }
    }
}

}  // namespace
}  // namespace pagetest
