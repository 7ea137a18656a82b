#include "traffic_text.h"

#include <QStringList>
#include <bit>

#include "register_frames.h"

namespace ui {
namespace {

using protocol::FrameDescription;
using protocol::FrameKind;
using protocol::Verdict;

QString HexNumber(unsigned n, int digits) {
    return QStringLiteral("%1").arg(n, digits, 16, QLatin1Char('0')).toUpper();
}

QString Register(std::uint16_t reg) {
    return QStringLiteral("0x") + HexNumber(reg, 4);
}

QString Values(const std::vector<std::uint16_t>& values) {
    QStringList out;
    for (std::uint16_t v : values) out << QString::number(v);
    return out.join(QStringLiteral(", "));
}

// Tenths of a signed register, as the gateway reports temperature and humidity.
QString Tenths(std::uint16_t raw) {
    return QString::number(static_cast<std::int16_t>(raw) / 10.0, 'f', 1);
}

int ConfiguredNodes(const protocol::GatewayState& state) {
    int n = 0;
    for (std::uint8_t byte : state.nodes) n += std::popcount(byte);
    return n;
}

}  // namespace

QString TrafficText::Hex(std::span<const std::uint8_t> bytes) {
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size() * 3));
    for (std::uint8_t b : bytes) {
        if (!out.isEmpty()) out += QLatin1Char(' ');
        out += HexNumber(b, 2);
    }
    return out;
}

QString TrafficText::DirectionText(protocol::Direction direction) {
    switch (direction) {
        case protocol::Direction::Request:
            return tr("发送");
        case protocol::Direction::Reply:
            return tr("接收");
        case protocol::Direction::Discarded:
            return tr("丢弃");
        case protocol::Direction::NoReply:
            return tr("超时");
    }
    return {};
}

QString TrafficText::ExceptionText(protocol::ExceptionCode code) {
    const auto n = static_cast<unsigned>(code);
    const char* name = nullptr;
    switch (code) {
        case protocol::ExceptionCode::IllegalFunction:
            name = QT_TR_NOOP("非法功能");
            break;
        case protocol::ExceptionCode::IllegalDataAddress:
            name = QT_TR_NOOP("非法数据地址");
            break;
        case protocol::ExceptionCode::IllegalDataValue:
            name = QT_TR_NOOP("非法数据值");
            break;
        case protocol::ExceptionCode::ServerDeviceFailure:
            name = QT_TR_NOOP("从站设备故障");
            break;
        case protocol::ExceptionCode::Acknowledge:
            name = QT_TR_NOOP("已确认，处理中");
            break;
        case protocol::ExceptionCode::ServerDeviceBusy:
            name = QT_TR_NOOP("从站设备忙");
            break;
        case protocol::ExceptionCode::NegativeAcknowledge:
            name = QT_TR_NOOP("否定确认");
            break;
        case protocol::ExceptionCode::MemoryParityError:
            name = QT_TR_NOOP("存储奇偶校验错误");
            break;
        case protocol::ExceptionCode::GatewayPathUnavailable:
            name = QT_TR_NOOP("网关路径不可用");
            break;
        case protocol::ExceptionCode::GatewayTargetFailedToRespond:
            name = QT_TR_NOOP("网关目标设备无应答");
            break;
        case protocol::ExceptionCode::None:
            break;
    }
    const QString number = HexNumber(n, 2);
    return name ? tr("异常 %1 %2").arg(number, tr(name)) : tr("异常 %1").arg(number);
}

QString TrafficText::VerdictText(Verdict verdict, protocol::ExceptionCode code) {
    switch (verdict) {
        case Verdict::None:
            return {};
        case Verdict::Ok:
            return tr("正常");
        case Verdict::NoReply:
            return tr("无应答");
        case Verdict::CrcError:
            return tr("CRC 错误");
        case Verdict::WrongAddress:
            return tr("地址不符");
        case Verdict::WrongFunction:
            return tr("功能码不符");
        case Verdict::Exception:
            return ExceptionText(code);
        case Verdict::EchoMismatch:
            return tr("回显不符");
        case Verdict::TooShort:
            return tr("长度不足");
        case Verdict::TooLong:
            return tr("两帧相连");
        case Verdict::Echo:
            return tr("适配器回送了请求");
        case Verdict::Discarded:
            return tr("丢弃");
        case Verdict::Unjudged:
            return tr("无对应请求");
        case Verdict::NotSent:
            return tr("未发送");
    }
    return {};
}

QString TrafficText::ModeText(protocol::Addressing mode) {
    switch (mode) {
        case protocol::Addressing::Frame:
            return tr("FD 帧");
        case protocol::Addressing::Broadcast:
            return tr("广播 0xFF");
        case protocol::Addressing::Zero:
            return tr("零地址");
    }
    return {};
}

QString TrafficText::Request(const FrameDescription& d) {
    const protocol::GatewayFields& g = d.gateway;
    switch (d.kind) {
        case FrameKind::None:
            return {};
        case FrameKind::Unknown:
            return tr("未知帧");
        case FrameKind::ReadRegisters:
            return tr("读 %1 ×%2").arg(Register(d.reg)).arg(d.count);
        case FrameKind::WriteRegister:
        case FrameKind::WriteRegisters:
            return d.values.empty() ? tr("写 %1 ×%2").arg(Register(d.reg)).arg(d.count)
                                    : tr("写 %1 = %2").arg(Register(d.reg), Values(d.values));
        case FrameKind::CommBlockRead:
            return tr("读通信参数 @%1").arg(HexNumber(d.address, 2));
        case FrameKind::CommBlockWrite:
            return tr("写通信参数 地址 %1, %2")
                .arg(d.commBlock.address)
                .arg(protocol::CommBlockBaud(d.commBlock.baudCode));
        case FrameKind::Exception:
            return ExceptionText(d.exception);
        case FrameKind::AddressQuery:
            return tr("FD 查询");
        case FrameKind::AddressSet:
            return tr("FD 设地址 %1").arg(d.addressFrame.address);
        case FrameKind::BaudSet:
            return tr("FD 设波特率 %1").arg(d.addressFrame.Baud());
        case FrameKind::AddressReport:
            return tr("FD 应答 地址 %1, %2").arg(d.addressFrame.address).arg(d.addressFrame.Baud());
        case FrameKind::ParameterRead:
            return tr("FC 读参数 %1").arg(d.parameter.code);
        case FrameKind::ParameterWrite:
            return tr("FC 写参数 %1 = %2").arg(d.parameter.code).arg(d.parameter.value);
        case FrameKind::EnterConfigMode:
            return tr("FB 进入配置模式");
        case FrameKind::ExitConfigMode:
            return tr("FB 退出配置模式");
        case FrameKind::ConfigureNode:
            return tr("FB 配置节点 %1").arg(g.node);
        case FrameKind::ClearNode:
            return tr("FB 清除节点 %1").arg(g.node);
        case FrameKind::SleepTime:
            return g.mode == 0 ? tr("FB 读休眠时间") : tr("FB 设休眠时间 %1 s").arg(g.sleepTime);
        case FrameKind::ReadClimate:
            return tr("FB 读温湿度");
        case FrameKind::Channel:
            return g.mode == 0 ? tr("FB 读信道") : tr("FB 设信道 %1").arg(g.channel);
        case FrameKind::RelayParameters:
            return g.mode == 0 ? tr("FB 读中继参数")
                               : tr("FB 设中继参数 %1/%2/%3")
                                     .arg(g.relay.mode)
                                     .arg(g.relay.channel)
                                     .arg(g.relay.airRate);
        case FrameKind::GatewayOther:
            return tr("FB 命令 %1").arg(g.command);
    }
    return {};
}

// What an accepted reply brought back.
QString TrafficText::Reply(const FrameDescription& r, const FrameDescription& request) {
    const protocol::GatewayFields& g = r.gateway;
    switch (request.kind) {
        case FrameKind::ReadRegisters:
            return Values(r.values);
        case FrameKind::CommBlockRead:
            return tr("地址 %1, %2, %3")
                .arg(r.commBlock.address)
                .arg(r.commBlock.Baud())
                .arg(tr(protocol::ParityText(r.commBlock.parity)));
        case FrameKind::AddressQuery:
        case FrameKind::AddressSet:
        case FrameKind::BaudSet:
            return tr("地址 %1, %2").arg(r.addressFrame.address).arg(r.addressFrame.Baud());
        case FrameKind::ParameterRead:
            return r.parameter.hasSecond
                       ? QStringLiteral("%1, %2").arg(r.parameter.value).arg(r.parameter.second)
                       : QString::number(r.parameter.value);
        case FrameKind::EnterConfigMode:
        case FrameKind::ConfigureNode:
            if (g.hasReport)
                return tr("休眠 %1 s, 已配置 %2 个节点")
                    .arg(g.sleepTime)
                    .arg(ConfiguredNodes(g.report));
            return tr("确认");
        case FrameKind::SleepTime:
            return request.gateway.mode == 0 ? QStringLiteral("%1 s").arg(g.sleepTime) : tr("确认");
        case FrameKind::Channel:
            return request.gateway.mode == 0 ? tr("信道 %1").arg(g.channel) : tr("确认");
        case FrameKind::ReadClimate:
            return tr("温度 %1, 湿度 %2").arg(Tenths(g.temperature), Tenths(g.humidity));
        case FrameKind::RelayParameters:
            return request.gateway.mode == 0 ? QStringLiteral("%1/%2/%3")
                                                   .arg(g.relay.mode)
                                                   .arg(g.relay.channel)
                                                   .arg(g.relay.airRate)
                                             : tr("确认");
        default:
            return tr("确认");
    }
}

QString TrafficText::Line(const FrameDescription& d, const FrameDescription* request) {
    switch (d.direction) {
        case protocol::Direction::Request:
            return Request(d);
        case protocol::Direction::NoReply:
            return tr("无应答 (%1 ms)").arg(d.waitedMs);
        case protocol::Direction::Discarded: {
            const char* cause = nullptr;
            switch (d.cause) {
                case transport::DiscardCause::Late:
                    cause = QT_TR_NOOP("迟到");
                    break;
                case transport::DiscardCause::Stale:
                    cause = QT_TR_NOOP("无人请求");
                    break;
                case transport::DiscardCause::Reopen:
                    cause = QT_TR_NOOP("重开串口前");
                    break;
                case transport::DiscardCause::Short:
                    cause = QT_TR_NOOP("过短");
                    break;
                case transport::DiscardCause::None:
                    break;
            }
            return cause ? tr("丢弃 (%1)").arg(tr(cause)) : tr("丢弃");
        }
        case protocol::Direction::Reply:
            break;
    }
    if (d.verdict == Verdict::Ok && request)
        return Request(*request) + QStringLiteral(" → ") + Reply(d, *request);
    if (d.verdict == Verdict::Unjudged || (d.verdict == Verdict::Ok && !request)) return Request(d);
    if (d.verdict == Verdict::WrongAddress && d.hasAddress)
        return tr("地址不符 (应答来自 %1)").arg(d.address);
    return VerdictText(d.verdict, d.exception);
}

QString TrafficText::DiagnosisProgress(const protocol::DiagnosisProgress& p) {
    return tr("正在诊断：%1 波特率，%2（第 %3 步）…")
        .arg(p.baud)
        .arg(ModeText(p.probe))
        .arg(p.number);
}

QString TrafficText::DiagnosisText(const protocol::LinkDiagnosis& d) {
    using protocol::LinkVerdict;
    const auto hexAddress = [](std::uint8_t a) { return QStringLiteral("0x") + HexNumber(a, 2); };
    switch (d.verdict) {
        case LinkVerdict::Ok: {
            QString text = tr("找到设备：地址 %1，波特率 %2，寻址方式 %3。")
                               .arg(d.address)
                               .arg(d.baud)
                               .arg(ModeText(d.mode));
            if (d.late) text += tr("\n设备应答很慢，超过了程序的等待时间；请检查线路长度和干扰。");
            return text + tr("\n点击“测试波特率”连接设备。");
        }
        case LinkVerdict::Silent:
            return tr(
                "在所有波特率下都没有收到任何数据。\n请检查：设备是否通电；A、B 线是否接反；"
                "总线终端电阻；所选串口是否就是接设备的那个。");
        case LinkVerdict::Echo: {
            QString text =
                tr("收到的只是程序自己发出的请求：转换器把发送的数据回送了回来。\n"
                   "请关闭转换器的回显功能，或换一个自动收发切换的 RS-485 转换器。");
            if (d.answerBehindEcho)
                text += tr("\n回送之后设备有应答：地址 %1，波特率 %2。").arg(d.address).arg(d.baud);
            return text;
        }
        case LinkVerdict::OtherRate:
            return tr("只有在 %1 波特率下才收到数据，而测试只使用 2400、4800 和 9600。\n"
                      "设备的波特率是 %1：请用能设置该波特率的工具把设备改为 2400、4800 或 "
                      "9600。")
                .arg(d.baud);
        case LinkVerdict::Garbled:
            return tr("在 %1 "
                      "波特率下收到了数据，但帧已损坏（%2）。\n请检查：校验位设置（应为无校验）；"
                      "线路干扰和屏蔽；总线上是否有两台设备同时应答。")
                .arg(d.baud)
                .arg(VerdictText(d.reply, d.exception));
        case LinkVerdict::OtherAddress:
            return tr("询问地址 %1，应答却来自地址 %2（%3 波特率）。\n"
                      "总线上可能还有其他设备；请只连接要配置的一台设备后重试。")
                .arg(hexAddress(d.askedAddress), hexAddress(d.replyAddress))
                .arg(d.baud);
        case LinkVerdict::Exception:
            return tr("设备在线（%1 波特率），但以 Modbus %2 拒绝了询问地址 %3 的请求。\n"
                      "设备不支持这种寻址方式；请确认设备型号。")
                .arg(d.baud)
                .arg(ExceptionText(d.exception))
                .arg(hexAddress(d.askedAddress));
        case LinkVerdict::Missing:
            return tr("串口不存在。\n请检查转换器是否插好，或选择其他串口。");
        case LinkVerdict::Busy:
            return tr("串口正被其他程序使用。\n请关闭占用该串口的程序后重试。");
        case LinkVerdict::Denied:
            return tr("没有打开该串口的权限。\n请把用户加入 dialout 组，然后重新登录。");
    }
    return {};
}

}  // namespace ui
