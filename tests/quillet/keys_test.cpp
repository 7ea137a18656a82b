// Return in a field stays in the field, in the main window and in every dialog it opens: no
// button is pressed, nothing goes out, no box shows and the dialog stays open.
#include "lcd_control_dialog.h"
#include "light_threshold_dialog.h"
#include "quillet_fixture.h"
#include "wireless_dialog.h"

using namespace quillettest;
using testsupport::Find;

namespace {

class KeysTest : public QuilletTest {
  protected:
    // Return and Enter in every field of `d`.
    void PressReturnInEveryField(QWidget* d) {
        const QList<QLineEdit*> fields = d->findChildren<QLineEdit*>();
        ASSERT_FALSE(fields.isEmpty());
        TakeSent();
        for (QLineEdit* edit : fields) {
            if (!edit->isVisible() || !edit->isEnabled()) continue;
            SCOPED_TRACE(edit->objectName().toStdString());
            edit->setFocus();
            edit->setText("12");
            QTest::keyClick(edit, Qt::Key_Return);
            QTest::keyClick(edit, Qt::Key_Enter);
            EXPECT_TRUE(TakeSent().empty());
            EXPECT_TRUE(boxes_.Boxes().empty()) << boxes_.Texts().toStdString();
            EXPECT_TRUE(d->isVisible());
            EXPECT_EQ(edit->text(), "12");
        }
    }
};

TEST_F(KeysTest, ReturnInAFieldOfAnyWindowPressesNoButton) {
    sim::TransmitterConfig config = FrameDevice();
    config.relaySupport = true;
    config.gateway.relaySupport = true;
    StartFound(config);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
    PressReturnInEveryField(dialog_.get());
    EXPECT_EQ(Inside<quillet::LcdControlDialog>(1052,
                                                [&](QDialog* d) {
                                                    // The relay fields take part in mode 4.
                                                    Find<QComboBox>(d, "1057")->setCurrentIndex(3);
                                                    PressReturnInEveryField(d);
                                                }),
              1);
    EXPECT_EQ(Inside<quillet::LightThresholdDialog>(
                  1069, [&](QDialog* d) { PressReturnInEveryField(d); }),
              1);
    EXPECT_EQ(Inside<quillet::WirelessDialog>(1038,
                                              [&](quillet::WirelessDialog* d) {
                                                  PressReturnInEveryField(d);
                                                  d->Tabs()->setCurrentIndex(1);
                                                  PressReturnInEveryField(d);
                                              }),
              1);
}

}  // namespace
