// Wind pages against simulated transmitters: the direction name and arrow from the code,
// what the page shows without a reading, and the signed wind speed.
#include "wind_pages.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QtMath>
#include <cmath>

#include "page_rig.h"

namespace pagetest {
namespace {

using pages::Make;

// Where the arrow points, in degrees clockwise from north; -1 for a dial without one.
int HeadingOf(QWidget* page) {
    return Find<QWidget>(page, "1238")->property("heading").toInt();
}
QString NameOf(QWidget* page) {
    return Find<QLabel>(page, "风向:value")->text();
}

TEST(WindDirectionPage, OneQueryReadsBothRegistersAndNamesTheDirection) {
    struct Case {
        std::uint16_t code;
        const char* field;
        const char* name;
        int heading;
    };
    const Case cases[] = {
        {0, "0", "北风", 0}, {3, "3", "东南风", 135},  {7, "7", "西北风", 315},
        {9, "9", "非法", 0}, {258, "258", "东风", 90},  // low 8 bits name it
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
        EXPECT_EQ(HeadingOf(page), c.heading);
        EXPECT_TRUE(rig.boxes.Boxes().empty());
    }
}

// The arrow is drawn, not scaled from a small picture: rendered at twice the size on a
// high-density screen, it covers the dial toward its heading and leaves the other sides
// white, at each of the eight directions.
TEST(WindDirectionPage, TheArrowIsDrawnTowardItsHeadingAtTwiceTheSize) {
    for (std::uint16_t code = 0; code < 8; ++code) {
        SCOPED_TRACE(code);
        PageRig rig({{0, code}, {1, 0}});
        QWidget* page = rig.Page(Make<pages::WindDirectionPage>);
        ASSERT_TRUE(rig.Click("寄存器0:query"));
        QWidget* arrow = Find<QWidget>(page, "1238");
        QPixmap picture(arrow->size() * 2);
        picture.setDevicePixelRatio(2);
        picture.fill(Qt::white);
        arrow->render(&picture);
        const QImage image = picture.toImage();
        const double side = image.width() / 2.0;
        const auto colourAt = [&](int degrees, double reach) {
            const double a = qDegreesToRadians(double(degrees));
            return image.pixelColor(int(side + std::sin(a) * reach * side),
                                    int(side - std::cos(a) * reach * side));
        };
        const auto blue = [](QColor c) { return c.blue() > 150 && c.red() < 100; };
        const int heading = code * 45;
        EXPECT_TRUE(blue(colourAt(heading, 0.5)));
        for (int other : {heading + 90, heading + 180, heading + 270})
            EXPECT_EQ(colourAt(other, 0.6), QColor(Qt::white)) << other;
    }
}

// No reading, no direction: before the first query and after a failed one the page shows
// its caption and the dial without an arrow, never a north wind it did not measure.
TEST(WindDirectionPage, WithoutAReadingShowsNoDirection) {
    PageRig rig({{0, 3}, {1, 135}});
    auto* page = static_cast<pages::DevicePage*>(rig.Page(Make<pages::WindDirectionPage>));
    EXPECT_EQ(NameOf(page), "风向");
    EXPECT_EQ(HeadingOf(page), -1);

    page->Poll();
    EXPECT_EQ(NameOf(page), "东南风");

    rig.line.SetFault(sim::Fault::Silence);
    page->Poll();
    EXPECT_EQ(rig.Text("寄存器0:edit"), "");
    EXPECT_EQ(NameOf(page), "风向");
    EXPECT_EQ(HeadingOf(page), -1);
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
