#pragma once
// A TransmitterDialog on real widgets, talking through a pseudo-terminal to the simulated
// transmitter, with message boxes recorded.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "simulated_line.h"
#include "transmitter_device.h"
#include "transmitter_dialog.h"
#include "ui_test_support.h"

// Readable failures when texts differ.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace quillettest {

using sim::Bytes;

inline Bytes ToBytes(const protocol::Frame& f) {
    return Bytes(f.data(), f.data() + f.size);
}

// A transmitter found by the FD frame, or by the comm block at 0xFF (broadcast mode).
sim::TransmitterConfig FrameDevice(std::uint32_t baud = 2400, std::uint8_t address = 7);
sim::TransmitterConfig BroadcastDevice(std::uint8_t address = 3, std::uint8_t parity = 0,
                                       std::uint8_t stop1 = 0, std::uint8_t stop2 = 0);

class QuilletTest : public ::testing::Test {
  protected:
    // Serves a transmitter on a pty and opens the dialog with the pty as its first port
    // (followed by `morePorts`), frozen live values.
    void Start(const sim::TransmitterConfig& config, std::vector<std::string> morePorts = {});
    // Start, then a scan that must find the device.
    void StartFound(const sim::TransmitterConfig& config);
    // An own path to the pty (a symlink) that a test can take away.
    std::string LinkToPty();

    QPushButton* Button(int id) const;
    QLineEdit* Edit(int id) const;
    QComboBox* List(int id) const;
    QString Text(int id) const { return Edit(id)->text(); }
    void SetText(int id, const QString& text) { Edit(id)->setText(text); }

    // Clicks a button (a disabled one ignores it, as for a user).
    void Click(int id);
    // Waits for the busy flag to clear, then clicks the query button.
    void Query(int id);
    // Clicks `button` of the main dialog; once the modal dialog of type D that it opens is
    // shown, runs `body` on it and closes it. Returns how often such a dialog showed.
    template <class D>
    int Inside(int button, const std::function<void(D*)>& body);
    // Requests received since the last call (or since start).
    std::vector<Bytes> TakeSent();
    bool CommandsEnabled() const;
    bool CommandsDisabled() const;

    testsupport::BoxRecorder boxes_;
    std::shared_ptr<sim::TransmitterDevice> device_;
    std::unique_ptr<sim::SimulatedLine> line_;
    std::string linkPath_;
    std::unique_ptr<quillet::TransmitterDialog> dialog_;  // last: goes first
};

template <class D>
int QuilletTest::Inside(int button, const std::function<void(D*)>& body) {
    int shown = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* open = dialog_->findChild<D*>();
        if (!open || !open->isVisible()) return;
        poll.stop();
        ++shown;
        body(open);
        open->reject();
    });
    poll.start(10);
    Click(button);
    return shown;
}

// The ids of the command group.
const std::vector<int>& CommandIds();

}  // namespace quillettest
