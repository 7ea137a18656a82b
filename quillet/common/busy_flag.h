#pragma once
// The query debounce: a query sets the flag as it starts and a 300 ms timer clears it on
// every tick, so a second press inside one period does nothing. Set commands ignore it.
#include <QObject>
#include <QTimer>

namespace quillet {

class BusyFlag {
  public:
    static constexpr int kPeriodMs = 300;

    explicit BusyFlag(QObject* owner) : timer_(new QTimer(owner)) {
        timer_->setObjectName("timer1");
        QObject::connect(timer_, &QTimer::timeout, owner, [this] { busy_ = false; });
    }
    void Start() { timer_->start(kPeriodMs); }

    // False when a query already started in this period; otherwise sets the flag.
    bool TryTake() {
        if (busy_) return false;
        busy_ = true;
        return true;
    }
    bool IsSet() const { return busy_; }

  private:
    QTimer* timer_;
    bool busy_ = false;
};

}  // namespace quillet
