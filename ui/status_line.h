#pragma once
// The line at the bottom of a main window. Its own text says what is going on now: what a
// long wait is doing while it blocks the window ("正在测试 4800 波特率…"), "串口已断开" while
// the program's line is lost, or a hint after a scan that found nothing. A line, not a box:
// real-time polling of a pulled adapter must not pile up boxes. At its right, fields say
// what the link is: port, rate, device address, addressing mode, the result of the last
// exchange, the age of the last reading, and the simulated device in demo mode.
#include <QLabel>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <optional>

#include "frame_decoder.h"
#include "link_diagnosis.h"
#include "serial_link.h"

namespace ui {

// What the window knows of the device it found.
struct DeviceFacts {
    bool found = false;  // the last scan found a device
    std::uint8_t address = 0;
    protocol::Addressing mode = protocol::Addressing::Frame;
};

class StatusLine : public QLabel {
    Q_OBJECT
  public:
    static constexpr int kCheckMs = 300;

    // `lost` tells whether the line went away under the program; it is asked every 300 ms
    // and on Check().
    explicit StatusLine(std::function<bool()> lost, QWidget* parent = nullptr);

    // The fields follow `link` (its port, rate and tap) and what `device` says; `context` is
    // what the program accepts beyond a request's own rule (Quillet's broadcast mode).
    void Watch(transport::SerialLink* link, std::function<DeviceFacts()> device,
               std::function<protocol::ReplyContext()> context = {});
    // Demo mode: the simulated device's name.
    void SetDemo(const QString& name);

    // Shows "串口已断开" while the line is lost, and takes it away once it is not; brings
    // the fields up to date.
    void Check();
    // Shows `text` at once: the exchange that follows blocks the event loop, so the line is
    // painted now, not when the loop comes back.
    void Progress(const QString& text);
    // The scan's probe at this rate; 0: at the rate a network server keeps for its line.
    void Probing(std::uint32_t baud);
    // The wait is over: the progress text goes (the lost line shows again if so).
    void EndProgress();
    // A text that stays until the next progress (the hint after a scan found nothing).
    void Hint(const QString& text);

    // The field named `name` ("statusPort", "statusBaud", "statusAddress", "statusMode",
    // "statusResult", "statusAge", "statusDemo").
    QLabel* Field(const char* name) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  private:
    void UpdateFields();
    // Reads the tap's records since the last check: the last verdict and accepted reading.
    void ReadTap();

    std::function<bool()> lost_;
    QTimer timer_;
    transport::SerialLink* link_ = nullptr;
    std::function<DeviceFacts()> device_;
    std::function<protocol::ReplyContext()> context_;
    QWidget* fields_ = nullptr;
    std::uint64_t seen_ = 0;
    protocol::TrafficDecoder decoder_;
    protocol::FrameKind requestKind_ = protocol::FrameKind::None;
    std::uint8_t requestMode_ = 0;
    protocol::Verdict lastVerdict_ = protocol::Verdict::None;
    protocol::ExceptionCode lastException_ = protocol::ExceptionCode::None;
    std::optional<std::int64_t> lastReadingMs_;  // the tap's clock
};

}  // namespace ui
