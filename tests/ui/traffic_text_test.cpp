// The traffic view's words for the decoder's structures: a table of frames and the line each
// gets, and a text for every verdict of the diagnosis.
#include "traffic_text.h"

#include <gtest/gtest.h>

#include <QSet>

#include "config_frames.h"
#include "register_frames.h"
#include "wireless_frames.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Of(const protocol::Frame& f) {
    return Bytes(f.data(), f.data() + f.size);
}

Bytes WithCrc(std::initializer_list<std::uint8_t> bytes) {
    protocol::Frame f(bytes);
    f.AppendCrc();
    return Of(f);
}

// The line of `reply` after `request` as the view shows it (the request's own line when
// the reply is empty).
QString LineOf(const Bytes& request, const Bytes& reply) {
    const protocol::FrameDescription asked = protocol::DescribeRequest(request);
    if (reply.empty()) return ui::TrafficText::Line(asked, nullptr);
    const protocol::FrameDescription got = protocol::DescribeReply(reply, request);
    return ui::TrafficText::Line(got, &asked);
}

TEST(TrafficText, EveryFrameFamilyAndVerdictGetsItsLine) {
    const Bytes read = Of(protocol::BuildReadRegisters(7, 0x0001, 1));
    const Bytes write = Of(protocol::BuildWriteRegister(7, 0x0010, 35));
    const Bytes query = Of(protocol::BuildAddressFrame(0, 0));
    const struct {
        const char* what;
        Bytes request, reply;
        QString line;
    } rows[] = {
        {"read", read, {}, "读 0x0001 ×1"},
        {"read reply", read, WithCrc({7, 3, 2, 0, 253}), "读 0x0001 ×1 → 253"},
        {"write", write, {}, "写 0x0010 = 35"},
        {"write echo", write, write, "写 0x0010 = 35 → 确认"},
        {"write echo with another value", write, WithCrc({7, 6, 0, 0x10, 0, 36}), "回显不符"},
        {"FD query", query, {}, "FD 查询"},
        {"FD reply", query, WithCrc({0xFD, 0xFD, 0xFD, 2, 7}), "FD 查询 → 地址 7, 4800"},
        {"FD address set", Of(protocol::BuildAddressFrame(0, 12)), {}, "FD 设地址 12"},
        {"FD baud set", Of(protocol::BuildAddressFrame(3, 0)), {}, "FD 设波特率 9600"},
        {"comm block", Of(protocol::BuildCommBlockRead(0xFF)),
         WithCrc({3, 3, 10, 0, 3, 0, 3, 0, 0, 0, 0, 0, 1}),
         "读通信参数 @FF → 地址 3, 9600, 无校验"},
        {"configure node", Of(protocol::BuildConfigureNode(11)), {}, "FB 配置节点 12"},
        {"parameter read", Of(protocol::BuildConfigFrame(3, protocol::kConfigRead, 0)),
         WithCrc({0xFC, 0xFC, 0xFC, 3, 0, 0, 250}), "FC 读参数 3 → 250"},
        {"crc error", read, Bytes{7, 3, 2, 0, 253, 0, 0}, "CRC 错误"},
        {"exception", read, WithCrc({7, 0x83, 2}), "异常 02 非法数据地址"},
        {"unnamed exception", read, WithCrc({7, 0x83, 0x2A}), "异常 2A"},
        {"other address", read, WithCrc({9, 3, 2, 0, 253}), "地址不符 (应答来自 9)"},
        {"echo", query, query, "适配器回送了请求"},
        {"two replies", read,
         [] {
             Bytes b = WithCrc({7, 3, 2, 0, 253});
             Bytes twice = b;
             twice.insert(twice.end(), b.begin(), b.end());
             return twice;
         }(),
         "两帧相连"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(LineOf(r.request, r.reply).toStdString(), r.line.toStdString());
    }
}

TEST(TrafficText, RecordsOfGiveUpsAndDropsAndTheHexOfTheBytes) {
    transport::TrafficTap tap;
    const Bytes query = Of(protocol::BuildAddressFrame(0, 0));
    const std::uint8_t stray[] = {0xAB, 0x01};
    tap.Record(transport::TrafficEvent::Written, 4800, query.data(), query.size());
    tap.Record(transport::TrafficEvent::NoReply, 4800, nullptr, 0, transport::DiscardCause::None,
               500);
    for (auto cause : {transport::DiscardCause::Late, transport::DiscardCause::Stale,
                       transport::DiscardCause::Reopen})
        tap.Record(transport::TrafficEvent::Discarded, 4800, stray, 2, cause);
    QStringList lines;
    for (const auto& d : protocol::DescribeRecords(tap.Since(0)))
        lines << ui::TrafficText::Line(d, nullptr);
    EXPECT_EQ(lines, (QStringList{"FD 查询", "无应答 (500 ms)", "丢弃 (迟到)", "丢弃 (无人请求)",
                                  "丢弃 (重开串口前)"}));
    EXPECT_EQ(ui::TrafficText::Hex(query), "FD FD FD 00 00 E9 88");
    EXPECT_EQ(ui::TrafficText::Hex(stray), "AB 01");
    EXPECT_EQ(ui::TrafficText::Hex({}), "");
}

TEST(TrafficText, EveryDiagnosisVerdictHasItsOwnAdvice) {
    QSet<QString> seen;
    for (protocol::LinkVerdict v : protocol::LinkVerdicts()) {
        SCOPED_TRACE(protocol::LinkVerdictName(v));
        protocol::LinkDiagnosis d;
        d.verdict = v;
        d.baud = 19200;
        const QString text = ui::TrafficText::DiagnosisText(d);
        EXPECT_TRUE(text.contains('\n')) << "what was found, then what to do";
        EXPECT_FALSE(seen.contains(text));
        seen.insert(text);
    }
    protocol::LinkDiagnosis otherRate;
    otherRate.verdict = protocol::LinkVerdict::OtherRate;
    otherRate.baud = 19200;
    EXPECT_TRUE(ui::TrafficText::DiagnosisText(otherRate).contains("19200"));
}

}  // namespace
