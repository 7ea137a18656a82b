#pragma once
// The text of the box for a port that would not open: "串口打开失败", with the reason on a
// second line where the program can name it (a device server that turned the connection
// away or never answered the line settings).
#include <QString>

#include "port_backend.h"

namespace ui {

QString OpenFailureText(transport::OpenError error);

}  // namespace ui
