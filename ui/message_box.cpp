#include "message_box.h"

#include <QMessageBox>
#include <QPushButton>

namespace ui {
namespace {

QString& Caption() {
    static QString caption;
    return caption;
}

BoxHandler& Handler() {
    static BoxHandler handler;
    return handler;
}

QMessageBox::Icon ToQt(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::Information:
            return QMessageBox::Information;
        case BoxIcon::Warning:
            return QMessageBox::Warning;
        case BoxIcon::Question:
            return QMessageBox::Question;
        case BoxIcon::Stop:
            return QMessageBox::Critical;
        case BoxIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

BoxAnswer Show(const BoxRequest& request) {
    if (Handler()) return Handler()(request);
    // The system's texts break lines with "\r\n"; a Qt label wants "\n" alone.
    QString text = request.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(ToQt(request.icon), request.caption, text, QMessageBox::NoButton,
                    request.owner);
    if (request.buttons == BoxButtons::YesNo) {
        QPushButton* yes = box.addButton(QStringLiteral("是"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("否"), QMessageBox::NoRole);
        yes->setObjectName(request.names.yes);
        no->setObjectName(request.names.no);
        box.setDefaultButton(no);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? BoxAnswer::Yes : BoxAnswer::No;
    }
    box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
    box.exec();
    return BoxAnswer::Ok;
}

}  // namespace

void Message(QWidget* owner, const QString& text, BoxIcon icon) {
    Show({owner, text, Caption(), icon, BoxButtons::Ok});
}

void Message(QWidget* owner, const QString& text, const QString& caption, BoxIcon icon) {
    Show({owner, text, caption, icon, BoxButtons::Ok});
}

BoxAnswer Ask(QWidget* owner, const QString& text, const QString& caption, BoxIcon icon,
              const AskNames& names) {
    return Show({owner, text, caption, icon, BoxButtons::YesNo, names});
}

void SetDefaultCaption(const QString& caption) {
    Caption() = caption;
}
QString DefaultCaption() {
    return Caption();
}
void SetBoxHandler(BoxHandler handler) {
    Handler() = std::move(handler);
}

}  // namespace ui
