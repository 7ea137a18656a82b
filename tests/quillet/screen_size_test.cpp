// Quillet's window and each dialog it opens fit a 1024x768 screen with a title bar and a
// panel, and scroll where the screen has less room (a 1920x1080 screen at a scale factor of 2).
#include <QScrollArea>
#include <QScrollBar>

#include "lcd_control_dialog.h"
#include "light_threshold_dialog.h"
#include "quillet_fixture.h"
#include "wireless_dialog.h"

using namespace quillettest;
using testsupport::Find;

namespace {

void ExpectFits(QWidget* w, const char* what) {
    SCOPED_TRACE(what);
    std::vector<QSize> sizes{w->minimumSizeHint()};
    if (auto* body = Find<QWidget>(w, "scroll-body")) sizes.push_back(body->minimumSizeHint());
    for (const QSize least : sizes) {
        EXPECT_LE(least.width(), 1000);
        EXPECT_LE(least.height(), 680);
    }
}

// At half a 1920x1080 screen, less a title bar and a panel, what does not fit scrolls.
void ExpectScrolls(QWidget* w, const char* what) {
    SCOPED_TRACE(what);
    auto* area = Find<QScrollArea>(w, "scroll-area");
    ASSERT_NE(area, nullptr);
    w->resize(940, 480);
    QCoreApplication::processEvents();
    EXPECT_LE(w->height(), 480);
    const QSize content = area->widget()->minimumSizeHint();
    const QSize view = area->viewport()->size();
    EXPECT_EQ(area->verticalScrollBar()->maximum() > 0, content.height() > view.height());
    EXPECT_EQ(area->horizontalScrollBar()->maximum() > 0, content.width() > view.width());
}

}  // namespace

TEST_F(QuilletTest, EveryWindowFitsASmallScreen) {
    sim::TransmitterConfig config = FrameDevice();
    config.relaySupport = true;
    config.gateway.relaySupport = true;
    StartFound(config);
    ExpectFits(dialog_.get(), "main window");
    EXPECT_EQ(Inside<quillet::LcdControlDialog>(1052,
                                                [](QDialog* d) {
                                                    ExpectFits(d, "lcd");
                                                    ExpectScrolls(d, "lcd");
                                                }),
              1);
    EXPECT_EQ(Inside<quillet::LightThresholdDialog>(1069,
                                                    [](QDialog* d) {
                                                        ExpectFits(d, "light thresholds");
                                                        ExpectScrolls(d, "light thresholds");
                                                    }),
              1);
    EXPECT_EQ(Inside<quillet::WirelessDialog>(1038,
                                              [](quillet::WirelessDialog* d) {
                                                  ExpectFits(d, "wireless");
                                                  ExpectScrolls(d, "wireless");
                                              }),
              1);
    ExpectScrolls(dialog_.get(), "main window");
    // The main window's two columns are taller than that room.
    EXPECT_GT(Find<QScrollArea>(dialog_.get(), "scroll-area")->verticalScrollBar()->maximum(), 0);
}
