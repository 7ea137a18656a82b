#include "scroll_window.h"

#include <QEvent>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

namespace ui {
namespace {

// Sizes the window when it is first shown, once the ports, the note and the pages are in.
class FirstShowSize : public QObject {
  public:
    FirstShowSize(QWidget* window, QScrollArea* area) : QObject(window), area_(area) {
        window->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show) return false;
        auto* window = static_cast<QWidget*>(watched);
        window->removeEventFilter(this);
        QWidget* body = area_->widget();
        // A scroll area asks for little; open at the content's own size while the screen
        // allows.
        const QSize least = body->minimumSizeHint();
        QSize size = body->sizeHint().expandedTo(least);
        if (const QScreen* screen = window->screen()) {
            // Leave room for the title bar and the window's frame.
            const QSize room = screen->availableGeometry().size() - QSize(16, 48);
            size = size.boundedTo(room);
            // Content that cannot shrink into the room scrolls, and the scroll bars take room.
            if (least.width() > room.width() || least.height() > room.height()) {
                const int bar = area_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
                size = (size + QSize(bar, bar)).boundedTo(room);
            }
        }
        window->resize(size);
        deleteLater();
        return false;
    }

  private:
    QScrollArea* area_;
};

}  // namespace

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
    new FirstShowSize(window, area);
}

}  // namespace ui
