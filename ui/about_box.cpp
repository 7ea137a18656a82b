#include "about_box.h"

#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

namespace ui {

void ShowAboutBox(QDialog* owner, const AboutText& text, const QIcon& icon) {
    QDialog box(owner);
    box.setObjectName("about");
    box.setWindowTitle(text.caption);
    auto* layout = new QGridLayout(&box);
    auto* picture = new QLabel(&box);
    picture->setPixmap(icon.pixmap(32, 32));
    layout->addWidget(picture, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(new QLabel(text.name, &box), 0, 1);
    layout->addWidget(new QLabel(text.line, &box), 1, 1);
    auto* ok = new QPushButton(QStringLiteral("确定"), &box);
    ok->setObjectName("1");
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &box, &QDialog::accept);
    layout->addWidget(ok, 0, 2, Qt::AlignTop);
    box.exec();
}

void InstallAboutBox(QDialog* dialog, const AboutText& text, const QIcon& icon) {
    auto* action = new QAction(text.menuEntry, dialog);
    action->setObjectName("about-action");
    action->setShortcut(QKeySequence(Qt::Key_F1));
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, dialog,
                     [dialog, text, icon] { ShowAboutBox(dialog, text, icon); });
    dialog->addAction(action);
    dialog->setContextMenuPolicy(Qt::ActionsContextMenu);
}

}  // namespace ui
