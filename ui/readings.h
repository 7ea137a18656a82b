#pragma once
// One polled value as its page shows it, for the value log and the trend.
#include <QString>
#include <vector>

namespace ui {

struct Reading {
    QString label;  // the row's caption, without a trailing colon
    QString unit;   // may be empty
    QString value;  // the field's text ("23.5"); empty when that read failed
};

using Readings = std::vector<Reading>;

}  // namespace ui
