#pragma once
// The words of the traffic view, the status line and the diagnosis box: the decoder's
// structures and the diagnosis verdicts told in the program's language. Chinese is the source
// text of every tr() here.
#include <QCoreApplication>
#include <QString>
#include <cstdint>
#include <span>

#include "frame_decoder.h"
#include "link_diagnosis.h"

namespace ui {

class TrafficText {
    Q_DECLARE_TR_FUNCTIONS(TrafficText)

  public:
    // "FD FD FD 00 00 E9 88": upper case, one space between bytes.
    static QString Hex(std::span<const std::uint8_t> bytes);
    // "发送", "接收", "丢弃", "超时".
    static QString DirectionText(protocol::Direction direction);
    // What a request asks: "读 0x0001 ×1", "写 0x0010 = 35", "FD 查询", "FB 配置节点 12".
    static QString Request(const protocol::FrameDescription& request);
    // One line for any record. A reply the program accepts repeats what was asked and says
    // what came back ("读 0x0001 ×1 → 253"); anything else says what is wrong ("CRC 错误",
    // "无应答 (500 ms)", "丢弃 (迟到)"). `request` is the request the record answers, if known.
    static QString Line(const protocol::FrameDescription& record,
                        const protocol::FrameDescription* request);
    // "CRC 错误", "回显不符", "异常 02 非法数据地址", ...
    static QString VerdictText(protocol::Verdict verdict,
                               protocol::ExceptionCode code = protocol::ExceptionCode::None);
    // "异常 02 非法数据地址".
    static QString ExceptionText(protocol::ExceptionCode code);
    // "FD 帧", "广播 0xFF", "零地址".
    static QString ModeText(protocol::Addressing mode);

    // The diagnosis: what was found, and what to do about it.
    static QString DiagnosisText(const protocol::LinkDiagnosis& diagnosis);
    // The status line while a probe of the diagnosis waits.
    static QString DiagnosisProgress(const protocol::DiagnosisProgress& progress);

  private:
    static QString Reply(const protocol::FrameDescription& reply,
                         const protocol::FrameDescription& request);
};

}  // namespace ui
