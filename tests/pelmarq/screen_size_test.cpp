// The main window fits a 1024x768 screen with a title bar and a panel, whichever page shows,
// and scrolls where the screen has less room (a 1920x1080 screen at a scale factor of 2).
#include <QScrollArea>
#include <QScrollBar>

#include "category_container.h"
#include "pelmarq_fixture.h"

using namespace pelmarqtest;

namespace {

const QSize kRoom(1000, 680);

}  // namespace

TEST_F(MainWindowTest, FitsASmallScreenOnEveryPageAndScrollsOnAScaledOne) {
    StartDevice(Device(7, 4800));
    // With the demo's line under the port group, as `--demo` shows it.
    dialog = std::make_unique<app::MainDialog>(
        std::vector<app::PortChoice>{{line->Path(), line->Path()}}, line->Path(),
        "演示模式：模拟设备 qx40（eighteen-element air monitor (registers 0-18, calibrations "
        "80-98)），端口 /dev/pts/0");
    QWidget* body = Find<QWidget>(dialog.get(), "scroll-body");
    auto* area = Find<QScrollArea>(dialog.get(), "scroll-area");
    ASSERT_TRUE(body && area);
    auto* categories = Categories();
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    for (int c = 0; c < categories->count(); ++c) {
        categories->setCurrentIndex(c);
        auto* container = qobject_cast<pages::CategoryContainer*>(categories->currentWidget());
        const int subs = container ? container->Tabs()->count() : 1;
        for (int s = 0; s < subs; ++s) {
            if (container) container->Tabs()->setCurrentIndex(s);
            pages::DevicePage* page = dialog->SelectedPage();
            ASSERT_NE(page, nullptr);
            SCOPED_TRACE(categories->tabText(c).toStdString() + " / " +
                         (container ? container->Tabs()->tabText(s).toStdString() : ""));
            // The whole window, every page included, needs no more than the room.
            for (const QSize least : {dialog->minimumSizeHint(), body->minimumSizeHint()}) {
                EXPECT_LE(least.width(), kRoom.width());
                EXPECT_LE(least.height(), kRoom.height());
            }
            // Given that room, every control of the page lies inside the page.
            dialog->resize(kRoom);
            QCoreApplication::processEvents();
            for (QWidget* w : page->findChildren<QWidget*>()) {
                if (!w->isVisibleTo(page)) continue;
                const QRect r(w->mapTo(page, QPoint(0, 0)), w->size());
                EXPECT_TRUE(page->rect().contains(r)) << w->objectName().toStdString();
            }
        }
    }
    // Half a 1920x1080 screen, less a title bar and a panel: the content scrolls both ways.
    dialog->resize(940, 480);
    QCoreApplication::processEvents();
    EXPECT_LE(dialog->height(), 480);
    EXPECT_GT(area->verticalScrollBar()->maximum(), 0);
    EXPECT_GT(area->horizontalScrollBar()->maximum(), 0);
}
