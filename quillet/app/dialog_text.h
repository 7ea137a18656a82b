#pragma once
// Quillet's user-visible texts: the Chinese texts are the translation sources, so an
// English translation can be added without touching the dialogs.
#include <QCoreApplication>
#include <QString>

namespace quillet {

inline QString Tr(const char* source) {
    return QCoreApplication::translate("Quillet", source);
}

}  // namespace quillet
