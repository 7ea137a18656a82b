#pragma once
// Quillet's user-visible texts: the Chinese texts are the translation sources, so an
// English translation can be added without touching the dialogs.
#include <QCoreApplication>
#include <QPushButton>
#include <QString>

#include "message_box.h"

namespace quillet {

inline QString Tr(const char* source) {
    return QCoreApplication::translate("Quillet", source);
}

// An entry refused before anything is sent: not a number, or a value its register cannot
// hold.
inline void NumberRefused(QWidget* owner, bool outOfRange) {
    ui::Message(owner, Tr(outOfRange ? "数值超出范围" : "请输入数字"), Tr("警告"),
                ui::BoxIcon::Warning);
}

// A push button with its text and its control id as object name.
inline QPushButton* Button(const char* text, int id) {
    auto* button = new QPushButton(Tr(text));
    button->setObjectName(QString::number(id));
    return button;
}

}  // namespace quillet
