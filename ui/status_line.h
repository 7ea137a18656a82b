#pragma once
// The line at the bottom of a main window: what a long wait is doing while it blocks the
// window ("正在测试 4800 波特率…"), and "串口已断开" while the program's line is lost. A
// line, not a box: real-time polling of a pulled adapter must not pile up boxes.
#include <QLabel>
#include <QTimer>
#include <cstdint>
#include <functional>

namespace ui {

class StatusLine : public QLabel {
    Q_OBJECT
  public:
    static constexpr int kCheckMs = 300;

    // `lost` tells whether the line went away under the program; it is asked every 300 ms
    // and on Check().
    explicit StatusLine(std::function<bool()> lost, QWidget* parent = nullptr);

    // Shows "串口已断开" while the line is lost, and takes it away once it is not.
    void Check();
    // Shows `text` at once: the exchange that follows blocks the event loop, so the line is
    // painted now, not when the loop comes back.
    void Progress(const QString& text);
    // The scan's probe at this rate; 0: at the rate a network server keeps for its line.
    void Probing(std::uint32_t baud);
    // The wait is over: the progress text goes (the lost line shows again if so).
    void EndProgress();

  private:
    std::function<bool()> lost_;
    QTimer timer_;
};

}  // namespace ui
