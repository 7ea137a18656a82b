#include "scroll_window.h"

#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

namespace ui {

void ScrollWhenSmall(QWidget* window) {
    auto* body = new QWidget;
    body->setObjectName("scroll-body");
    // setLayout takes the layout from the window and moves the widgets it manages along.
    body->setLayout(window->layout());
    auto* area = new QScrollArea;
    area->setObjectName("scroll-area");
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(body);
    auto* outer = new QVBoxLayout(window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(area);
    // A scroll area asks for little; open at the content's own size while the screen allows.
    QSize size = body->sizeHint().expandedTo(body->minimumSizeHint());
    if (const QScreen* screen = window->screen()) {
        // Leave room for the title bar and the window's frame.
        const QSize room = screen->availableGeometry().size() - QSize(16, 48);
        if (size.width() > room.width() || size.height() > room.height()) {
            const int bar = area->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
            size = (size + QSize(bar, bar)).boundedTo(room);
        }
    }
    window->resize(size);
}

}  // namespace ui
