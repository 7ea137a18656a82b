#include "port_messages.h"

#include <QCoreApplication>

namespace ui {
namespace {

QString Tr(const char* text) {
    return QCoreApplication::translate("ui", text);
}

}  // namespace

QString OpenErrorText(transport::OpenError error) {
    using transport::OpenError;
    switch (error) {
        case OpenError::Busy:
            return Tr("串口被占用");
        case OpenError::NotInGroup:
            return Tr("没有权限：请将用户加入 dialout 组后重新登录");
        case OpenError::Denied:
            return Tr("没有权限");
        case OpenError::Missing:
            return Tr("串口不存在");
        case OpenError::NotSerial:
            return Tr("不是串口");
        case OpenError::Refused:
            return Tr("网络串口拒绝连接");
        case OpenError::NoAnswer:
            return Tr("网络串口无应答");
        case OpenError::None:
        case OpenError::BadSettings:
        case OpenError::Other:
            break;
    }
    return {};
}

QString OpenFailedText(transport::OpenError error) {
    const QString why = OpenErrorText(error);
    return why.isEmpty() ? Tr("串口打开失败") : Tr("串口打开失败") + "\n" + why;
}

}  // namespace ui
