#pragma once
// What the UI tests of both programs share: a recorder that stands in for the message boxes,
// control lookup scoped to one dialog or page, and waiting on the event loop.
#include <QApplication>
#include <QString>
#include <QTest>
#include <QWidget>
#include <deque>
#include <vector>

#include "message_box.h"

namespace testsupport {

// Records every box instead of showing it; question boxes take the queued answers (No when
// none is queued, like Esc).
class BoxRecorder {
  public:
    BoxRecorder();
    ~BoxRecorder();
    BoxRecorder(const BoxRecorder&) = delete;
    BoxRecorder& operator=(const BoxRecorder&) = delete;

    const std::vector<ui::BoxRequest>& Boxes() const { return boxes_; }
    void Clear() { boxes_.clear(); }
    void QueueAnswer(ui::BoxAnswer answer) { answers_.push_back(answer); }
    // The one box recorded since the last Clear (fails the test when there is not exactly one).
    ui::BoxRequest Only() const;
    // Texts of all boxes, joined by " | " (handy in failure messages).
    QString Texts() const;

  private:
    std::vector<ui::BoxRequest> boxes_;
    std::deque<ui::BoxAnswer> answers_;
};

// The control named `name` inside `scope` (never a program-wide search: ids repeat).
template <class T = QWidget>
T* Find(QWidget* scope, const QString& name) {
    return scope ? scope->findChild<T*>(name) : nullptr;
}

// Runs the event loop until `condition` holds or `ms` pass; returns whether it holds.
template <class F>
bool WaitFor(F condition, int ms = 5000) {
    return QTest::qWaitFor(condition, ms);
}

}  // namespace testsupport
