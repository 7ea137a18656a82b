#pragma once
// What both programs' tests need of the status line and the port selector: the texts the
// line was painted with while the window was blocked, and a path typed as a user types it.
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <ostream>
#include <string>
#include <vector>

#include "port_selector.h"
#include "simulated_line.h"

namespace testsupport {

// Records the status line's text each time it is painted, with the number of requests the
// simulated device had received by then: a text painted before a probe's wait comes with
// the count of the requests before that probe.
class StatusLineLog : public QObject {
  public:
    struct Entry {
        QString text;
        std::size_t requests = 0;
        bool operator==(const Entry&) const = default;
    };

    StatusLineLog(QLabel* label, const sim::SimulatedLine& line) : label_(label), line_(line) {
        label_->installEventFilter(this);
    }
    ~StatusLineLog() override { label_->removeEventFilter(this); }

    const std::vector<Entry>& Entries() const { return entries_; }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == label_ && event->type() == QEvent::Paint)
            entries_.push_back({label_->text(), line_.Received().size()});
        return false;
    }

  private:
    QLabel* label_;
    const sim::SimulatedLine& line_;
    std::vector<Entry> entries_;
};

inline void PrintTo(const StatusLineLog::Entry& e, std::ostream* out) {
    *out << '"' << e.text.toStdString() << "\" after " << e.requests << " requests";
}

// Types `path` into the selector's field and presses Return.
inline void TypePath(ui::PortSelector* ports, const std::string& path) {
    ports->lineEdit()->clear();
    QTest::keyClicks(ports->lineEdit(), QString::fromStdString(path));
    QTest::keyClick(ports->lineEdit(), Qt::Key_Return);
}

}  // namespace testsupport
