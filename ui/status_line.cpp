#include "status_line.h"

namespace ui {

StatusLine::StatusLine(std::function<bool()> lost, QWidget* parent)
    : QLabel(parent), lost_(std::move(lost)) {
    setObjectName("status");
    // One line's height even while empty, so the window does not jump when a text comes.
    setMinimumHeight(fontMetrics().height());
    timer_.setInterval(kCheckMs);
    connect(&timer_, &QTimer::timeout, this, [this] { Check(); });
    timer_.start();
}

void StatusLine::Check() {
    const QString lostText = tr("串口已断开");
    if (lost_ && lost_()) {
        if (text() != lostText) setText(lostText);
    } else if (text() == lostText) {
        clear();
    }
}

void StatusLine::Progress(const QString& text) {
    setText(text);
    repaint();
}

void StatusLine::Probing(std::uint32_t baud) {
    // Naming a rate the program did not set would be a guess.
    Progress(baud == 0 ? tr("正在测试网络串口…") : tr("正在测试 %1 波特率…").arg(baud));
}

void StatusLine::EndProgress() {
    clear();
    Check();
}

}  // namespace ui
