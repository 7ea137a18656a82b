// Return in a field stays in the field: it presses no button of the main window or of a page,
// so it never starts a scan that re-probes the line and overwrites what was typed.
#include "pelmarq_fixture.h"

using namespace pelmarqtest;

TEST_F(MainWindowTest, ReturnInAFieldPressesNoButton) {
    StartDevice(Device(7, 4800), {{1, 236}});
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    ScanAndForget();
    auto* page = ShowPage(0, 0);
    const struct {
        QWidget* scope;
        const char* field;
    } fields[] = {{dialog.get(), "1002"}, {dialog.get(), "1003"}, {page, "1009"}};
    for (const auto& f : fields) {
        SCOPED_TRACE(f.field);
        QLineEdit* edit = Find<QLineEdit>(f.scope, f.field);
        ASSERT_NE(edit, nullptr);
        edit->setFocus();
        edit->setText("12");
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClick(edit, Qt::Key_Enter);
        EXPECT_TRUE(line->Received().empty());
        EXPECT_TRUE(boxes.Boxes().empty()) << boxes.Texts().toStdString();
        EXPECT_EQ(edit->text(), "12");
    }
    EXPECT_TRUE(dialog->isVisible());
    for (QPushButton* b : dialog->findChildren<QPushButton*>())
        EXPECT_FALSE(b->autoDefault() || b->isDefault()) << b->objectName().toStdString();
}
