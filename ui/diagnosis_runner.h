#pragma once
// The "诊断" button's work in both programs: the link diagnosis on the selected port, its
// progress painted in the status line while it blocks the window (at most 10 s), then a box
// that says what was found and what to do.
#include <string>

#include "link_diagnosis.h"

class QWidget;

namespace ui {

class StatusLine;

protocol::LinkDiagnosis RunDiagnosis(QWidget* owner, transport::SerialLink& link,
                                     const std::string& port, StatusLine& status);

}  // namespace ui
