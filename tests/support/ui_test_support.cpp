#include "ui_test_support.h"

#include <gtest/gtest.h>

namespace testsupport {

BoxRecorder::BoxRecorder() {
    ui::SetBoxHandler([this](const ui::BoxRequest& request) {
        boxes_.push_back(request);
        if (request.buttons == ui::BoxButtons::Ok) return ui::BoxAnswer::Ok;
        if (answers_.empty()) return ui::BoxAnswer::No;
        const ui::BoxAnswer answer = answers_.front();
        answers_.pop_front();
        return answer;
    });
}

BoxRecorder::~BoxRecorder() {
    ui::SetBoxHandler({});
}

ui::BoxRequest BoxRecorder::Only() const {
    EXPECT_EQ(boxes_.size(), 1u) << Texts().toStdString();
    return boxes_.empty() ? ui::BoxRequest{} : boxes_.back();
}

QString BoxRecorder::Texts() const {
    QStringList texts;
    for (const ui::BoxRequest& b : boxes_) texts << b.caption + ": " + b.text;
    return texts.join(" | ");
}

}  // namespace testsupport
