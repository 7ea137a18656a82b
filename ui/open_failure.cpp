#include "open_failure.h"

#include <QCoreApplication>

namespace ui {

QString OpenFailureText(transport::OpenError error) {
    const QString text = QCoreApplication::translate("ui", "串口打开失败");
    switch (error) {
        case transport::OpenError::Refused:
            return text + '\n' + QCoreApplication::translate("ui", "网络串口拒绝连接");
        case transport::OpenError::NoAnswer:
            return text + '\n' + QCoreApplication::translate("ui", "网络串口无应答");
        default:
            return text;
    }
}

}  // namespace ui
