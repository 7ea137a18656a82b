#pragma once
// What the programs say of a port that would not open: "串口打开失败" and, on a second line,
// why, where the line told us.
#include <QString>

#include "port_backend.h"

namespace ui {

// Why, in the user's words; empty where there is nothing the user could act on.
QString OpenErrorText(transport::OpenError error);
// "串口打开失败", and the reason on a second line where there is one.
QString OpenFailedText(transport::OpenError error);

}  // namespace ui
