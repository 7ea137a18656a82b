#pragma once
// Quillet's user-visible texts: the Chinese texts are the translation sources, so an
// English translation can be added without touching the dialogs.
#include <QCoreApplication>
#include <QPushButton>
#include <QString>

namespace quillet {

inline QString Tr(const char* source) {
    return QCoreApplication::translate("Quillet", source);
}

// A push button with its text and its control id as object name; Enter in a field does not
// press it.
inline QPushButton* Button(const char* text, int id) {
    auto* button = new QPushButton(Tr(text));
    button->setObjectName(QString::number(id));
    button->setAutoDefault(false);
    return button;
}

}  // namespace quillet
