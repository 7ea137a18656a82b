#include "return_key.h"

#include <QPushButton>

namespace ui {

void KeepReturnInFields(QWidget* window) {
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}

}  // namespace ui
