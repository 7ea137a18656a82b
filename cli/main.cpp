// pelmarq-cli: what Pelmarq's pages know (registers, scaling, units, sensor types, the scan,
// the address and baud commands), for scripts and commissioning records. Run --help.
#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <bit>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "device_commands.h"
#include "entry_text.h"
#include "field_format.h"
#include "link_diagnosis.h"
#include "options.h"
#include "page_catalogue.h"
#include "page_values.h"
#include "port_discovery.h"
#include "register_client.h"
#include "trace.h"

namespace cli {
namespace {

using protocol::ExchangeStatus;

class Cli {
  public:
    explicit Cli(Options o) : o_(std::move(o)), client_(link_), tracer_(link_, o_.trace) {}
    int Run();

  private:
    // The tool's own words in the chosen language.
    const char* W(const char* zh, const char* en) const { return o_.english ? en : zh; }
    int Fail(int code, const std::string& message) {
        std::fprintf(stderr, "pelmarq-cli: %s\n", message.c_str());
        return code;
    }
    int Usage(const std::string& message) { return Fail(kExitUsage, message); }
    void Print(const std::string& line) { std::printf("%s\n", line.c_str()); }
    void PrintJson(const QJsonDocument& doc) {
        std::printf("%s", doc.toJson(QJsonDocument::Indented).constData());
    }
    void PrintJson(const QJsonObject& o) { PrintJson(QJsonDocument(o)); }
    void PrintJson(const QJsonArray& a) { PrintJson(QJsonDocument(a)); }
    static QString Q(const std::string& s) { return QString::fromStdString(s); }

    std::string StatusText(ExchangeStatus s, bool write) const;
    std::string OpenErrorText();
    // The PORT argument and -a/-b; opens the port. Nonzero: the exit code.
    int NeedPort(std::size_t positionals);
    int Open(bool needAddress = true);
    int SelectPage();

    int Ports();
    int ScanCommand();
    int Get();
    int Set();
    int SetAddress();
    int SetBaud();
    int PagesCommand();
    int Read();
    int Watch();
    int Snapshot();
    int Apply();
    int Diagnose();

    struct Reading {
        std::size_t row = 0;
        ExchangeStatus status = ExchangeStatus::NoReply;
        std::uint16_t words[2] = {};
    };
    Reading ReadRow(std::size_t row);
    QJsonObject RowJson(const Reading& r);

    Options o_;
    transport::SerialLink link_;
    protocol::RegisterClient client_;
    Tracer tracer_;
    std::string port_;
    std::uint8_t address_ = 0;
    std::uint32_t baud_ = 0;
    pages::PageView page_;
};

std::string Cli::StatusText(ExchangeStatus s, bool write) const {
    switch (s) {
        case ExchangeStatus::Ok:
            return "ok";
        case ExchangeStatus::PortClosed:
            return W("串口未打开", "port not open");
        case ExchangeStatus::NoReply:
            return write ? W("返回值错误或设备未响应", "no reply or a wrong reply")
                         : W("读取格式错误", "no reply or a wrong reply");
        case ExchangeStatus::CheckFailed:
            return write ? W("接收与发送数据不一致", "the reply does not confirm the write")
                         : W("设备校验值错误", "the reply's CRC is wrong");
    }
    return {};
}

std::string Cli::OpenErrorText() {
    using E = transport::OpenError;
    std::string why;
    switch (link_.Port().LastOpenError()) {
        case E::Missing:
            why = W("没有这个串口", "no such port");
            break;
        case E::Busy:
            why = W("串口被其他程序占用", "another program holds it");
            break;
        case E::Denied:
            why = W("没有权限（dialout 组）", "permission denied (the dialout group)");
            break;
        case E::NotSerial:
            why = W("不是串口", "not a serial line");
            break;
        case E::BadSettings:
            why = W("串口不接受这个波特率", "the line refuses the rate");
            break;
        case E::Refused:
            why = W("连接被拒绝", "connection refused");
            break;
        case E::NoAnswer:
            why = W("服务器无应答", "the server did not answer");
            break;
        default:
            why = W("未知原因", "unknown reason");
            break;
    }
    return std::string(W("串口打开失败", "cannot open")) + " " + port_ + ": " + why;
}

int Cli::NeedPort(std::size_t positionals) {
    if (o_.args.empty()) return Usage(o_.command + ": " + W("缺少串口", "PORT missing"));
    if (o_.args.size() != positionals + 1)
        return Usage(o_.command + ": " + W("参数个数不对", "wrong number of arguments"));
    port_ = o_.args[0];
    return 0;
}

int Cli::Open(bool needAddress) {
    if (needAddress) {
        if (!o_.address) return Usage(o_.command + ": -a ADDR " + W("缺少", "missing"));
        const protocol::EntryValue a =
            protocol::ConvertEntryText(*o_.address, protocol::EntryRange::Unsigned8);
        if (a.error != protocol::EntryError::None)
            return Usage(W("地址超出范围(0-255)", "-a takes an address 0-255"));
        address_ = static_cast<std::uint8_t>(a.bits);
    }
    if (!o_.baud) return Usage(o_.command + ": -b BAUD " + W("缺少", "missing"));
    const std::optional<double> b = protocol::ParseEntryNumber(*o_.baud);
    if (!b || !(*b >= 50 && *b <= 4000000) || *b != static_cast<std::uint32_t>(*b))
        return Usage(W("波特率错误", "-b takes a baud rate"));
    baud_ = static_cast<std::uint32_t>(*b);
    const bool opened = link_.Reopen(port_, baud_);
    tracer_.Flush();
    if (!opened) return Fail(kExitPort, OpenErrorText());
    link_.SetDeviceAddress(address_);
    return 0;
}

int Cli::SelectPage() {
    if (o_.page.empty()) return Usage(o_.command + ": --page NAME " + W("缺少", "missing"));
    const pages::PageEntry* entry = pages::FindPage(o_.page);
    if (!entry)
        return Usage(W("没有这个页面：", "no page ") + o_.page + W("（见 pages）", " (see pages)"));
    if (!page_.Select(*entry, o_.type.value_or(-1)))
        return Usage(W("这个页面没有这个传感器类型", "the page has no such sensor type"));
    return 0;
}

int Cli::Run() {
    const std::string& c = o_.command;
    if (c == "ports") return Ports();
    if (c == "scan") return ScanCommand();
    if (c == "get") return Get();
    if (c == "set") return Set();
    if (c == "set-address") return SetAddress();
    if (c == "set-baud") return SetBaud();
    if (c == "pages") return PagesCommand();
    if (c == "read") return Read();
    if (c == "watch") return Watch();
    if (c == "snapshot") return Snapshot();
    if (c == "apply") return Apply();
    if (c == "diagnose") return Diagnose();
    if (c.empty()) return Usage(W("缺少命令（见 --help）", "no command (see --help)"));
    return Usage(W("未知命令 ", "unknown command ") + c);
}

int Cli::Ports() {
    if (!o_.args.empty()) return Usage(W("ports 不带参数", "ports takes no arguments"));
    QJsonArray list;
    for (const transport::PortEntry& p : transport::ListSerialPorts()) {
        const char* access = p.access == transport::PortAccess::Openable           ? "ok"
                             : p.access == transport::PortAccess::PermissionDenied ? "denied"
                                                                                   : "unavailable";
        if (o_.json) {
            list.append(QJsonObject{{"path", Q(p.path)},
                                    {"description", Q(p.description)},
                                    {"openable", p.access == transport::PortAccess::Openable},
                                    {"access", access}});
        } else {
            const char* word = p.access == transport::PortAccess::Openable ? W("可用", "ok")
                               : p.access == transport::PortAccess::PermissionDenied
                                   ? W("无权限（dialout 组）", "permission denied (dialout group)")
                                   : W("不可用", "unavailable");
            Print(p.path + "  " + (p.description.empty() ? "-" : p.description) + "  " + word);
        }
    }
    if (o_.json) PrintJson(list);
    return kExitOk;
}

int Cli::ScanCommand() {
    if (const int e = NeedPort(0)) return e;
    const device::ScanResult r =
        device::Scan(link_, port_, [this](const device::ScanProbe&) { tracer_.Flush(); });
    tracer_.Flush();
    if (!r.opened) return Fail(kExitPort, OpenErrorText());
    const device::FoundDevice& d = r.device;
    const bool block = d.mode != device::Addressing::Frame;
    if (o_.json) {
        QJsonObject j{{"found", r.found},           {"address", QJsonValue::Null},
                      {"baud", QJsonValue::Null},   {"mode", QJsonValue::Null},
                      {"parity", QJsonValue::Null}, {"stop_bits_ok", QJsonValue::Null}};
        if (r.found) {
            j["address"] = d.address;
            j["baud"] = static_cast<qint64>(d.baud);
            j["mode"] = protocol::AddressingName(d.mode);
            if (block) {
                j["parity"] = d.parity;
                j["stop_bits_ok"] = d.StopBitsOk();
            }
        }
        PrintJson(j);
    } else if (r.found) {
        std::string line = std::string(W("设备地址：", "address ")) + std::to_string(d.address) +
                           W("  波特率：", "  baud ") + std::to_string(d.baud) +
                           W("  方式：", "  mode ") + protocol::AddressingName(d.mode);
        if (block) {
            line += std::string("  ") + (o_.english ? (d.parity == 0   ? "no parity"
                                                       : d.parity == 1 ? "odd parity"
                                                       : d.parity == 2 ? "even parity"
                                                                       : "bad parity")
                                                    : protocol::ParityText(d.parity));
            if (!d.StopBitsOk())
                line += W("  停止位异常,请重新配置地址或波特率",
                          "  stop bits wrong: set address or rate again");
        }
        Print(line);
    }
    if (!r.found) return Fail(kExitDevice, W("测试结束 未知波特率", "no device answered"));
    return kExitOk;
}

namespace {

struct AsKind {
    int width;  // registers per value
    protocol::EntryRange range;
    double multiplier;
};

AsKind AsOf(const std::string& as) {
    if (as == "int") return {1, protocol::EntryRange::Signed16, 1};
    if (as == "tenths") return {1, protocol::EntryRange::Signed16, 10};
    if (as == "hundredths") return {1, protocol::EntryRange::Signed16, 100};
    if (as == "u32") return {2, protocol::EntryRange::Unsigned32, 1};
    if (as == "float") return {2, protocol::EntryRange::Float, 1};
    return {1, protocol::EntryRange::Unsigned16, 1};
}

// A register number: decimal or 0x hexadecimal, 0..65535.
std::optional<std::uint16_t> RegisterNumber(const std::string& text) {
    if (text.empty()) return std::nullopt;
    unsigned long v = 0;
    std::size_t used = 0;
    try {
        const bool hex = text.starts_with("0x") || text.starts_with("0X");
        if (text[0] == '-' || text[0] == '+' || text[0] == ' ') return std::nullopt;
        v = std::stoul(text, &used, hex ? 16 : 10);
    } catch (...) {
        return std::nullopt;
    }
    if (used != text.size() || v > 0xFFFF) return std::nullopt;
    return static_cast<std::uint16_t>(v);
}

}  // namespace

int Cli::Get() {
    if (const int e = NeedPort(1)) return e;
    const std::string arg = o_.args[1];
    const std::size_t colon = arg.find(':');
    const auto reg = RegisterNumber(arg.substr(0, colon));
    const AsKind as = AsOf(o_.as);
    long count = 1;
    if (colon != std::string::npos) {
        const auto n = RegisterNumber(arg.substr(colon + 1));
        if (!n) return Usage(W("寄存器个数不对", "COUNT is not a number"));
        count = *n;
    }
    if (!reg) return Usage(W("寄存器不对：", "not a register: ") + arg);
    if (count < 1 || count * as.width > 125)
        return Usage(W("一次最多读 125 个寄存器", "COUNT: 1 to 125 registers in one read"));
    if (const int e = Open()) return e;
    std::vector<std::uint16_t> words(static_cast<std::size_t>(count * as.width));
    const ExchangeStatus s =
        client_.ReadRegisters(*reg, static_cast<std::uint8_t>(words.size()), words.data());
    tracer_.Flush();
    if (s != ExchangeStatus::Ok) return Fail(kExitDevice, StatusText(s, false));
    QJsonArray values;
    for (long i = 0; i < count; ++i) {
        const std::uint16_t* w = &words[static_cast<std::size_t>(i * as.width)];
        const std::uint32_t pair = std::uint32_t{w[0]} << 16 | (as.width == 2 ? w[1] : 0);
        double number = 0;
        std::string text;
        if (o_.as == "int" || o_.as == "tenths" || o_.as == "hundredths") {
            const double f = 1.0 / as.multiplier;
            const int decimals = o_.as == "tenths" ? 1 : o_.as == "hundredths" ? 2 : 0;
            number = static_cast<std::int16_t>(w[0]) * f;
            text = fields::FormatScaled(w[0], f, decimals);
        } else if (o_.as == "u32") {
            number = pair;
            text = fields::FormatUInt32(pair);
        } else if (o_.as == "float") {
            const float v = std::bit_cast<float>(pair);
            number = v;
            text = fields::FormatFloat(v);
        } else {
            number = w[0];
            text = fields::FormatUInt(w[0]);
        }
        values.append(number);
        if (!o_.json) Print(std::to_string(*reg + i * as.width) + ": " + text);
    }
    if (o_.json)
        PrintJson(QJsonObject{{"register", *reg},
                              {"count", static_cast<qint64>(count)},
                              {"as", Q(o_.as)},
                              {"values", values}});
    return kExitOk;
}

int Cli::Set() {
    if (const int e = NeedPort(1)) return e;
    const std::string arg = o_.args[1];
    const std::size_t eq = arg.find('=');
    if (eq == std::string::npos) return Usage(W("应为 REG=VALUE", "expected REG=VALUE"));
    const auto reg = RegisterNumber(arg.substr(0, eq));
    if (!reg) return Usage(W("寄存器不对：", "not a register: ") + arg.substr(0, eq));
    const AsKind as = AsOf(o_.as);
    const protocol::EntryValue v =
        protocol::ConvertEntryText(arg.substr(eq + 1), as.range, as.multiplier);
    // A refused entry sends nothing: the port is not even opened.
    if (v.error == protocol::EntryError::NotANumber)
        return Usage(W("请输入数字", "not a number: ") + (o_.english ? arg.substr(eq + 1) : ""));
    if (v.error == protocol::EntryError::OutOfRange)
        return Usage(W("数值超出范围", "out of range for --as ") + (o_.english ? o_.as : ""));
    if (const int e = Open()) return e;
    const ExchangeStatus s = as.width == 2
                                 ? client_.WriteRegisterPair(*reg, v.bits)
                                 : client_.WriteRegister(*reg, static_cast<std::uint16_t>(v.bits));
    tracer_.Flush();
    const bool ok = s == ExchangeStatus::Ok;
    if (o_.json)
        PrintJson(QJsonObject{{"register", *reg},
                              {"as", Q(o_.as)},
                              {"written", static_cast<qint64>(v.bits)},
                              {"ok", ok}});
    else if (ok)
        Print(W("写入成功", "written"));
    if (!ok) return Fail(kExitDevice, StatusText(s, true));
    return kExitOk;
}

namespace {

device::Addressing ModeOf(const std::string& mode) {
    if (mode == "broadcast") return device::Addressing::Broadcast;
    if (mode == "zero") return device::Addressing::Zero;
    return device::Addressing::Frame;
}

}  // namespace

int Cli::SetAddress() {
    if (const int e = NeedPort(1)) return e;
    const protocol::EntryValue entry =
        protocol::ConvertEntryText(o_.args[1], protocol::EntryRange::Unsigned8);
    if (entry.error == protocol::EntryError::NotANumber)
        return Usage(W("请输入数字", "not a number"));
    if (entry.error == protocol::EntryError::OutOfRange)
        return Usage(W("地址超出范围(1-255)", "address out of range (1-255)"));
    if (entry.bits == 0) return Usage(W("地址不能为0", "the address cannot be 0"));
    const bool haveAddress = o_.address.has_value();
    if (const int e = Open(haveAddress)) return e;
    device::FoundDevice d;
    d.mode = ModeOf(o_.mode);
    d.address = address_;
    d.baud = baud_;
    // The comm block write needs what the device holds: its address and baud code.
    if (d.mode != device::Addressing::Frame) device::Query(link_, d);
    tracer_.Flush();
    const auto newAddress = static_cast<std::uint8_t>(entry.bits);
    const bool ok = device::SetAddress(link_, d, newAddress, [this](device::AddressStep, bool ok) {
        tracer_.Flush();
        if (!ok && !o_.json)
            std::fprintf(stderr, "pelmarq-cli: %s\n", W("地址设置失败", "address not set"));
    });
    tracer_.Flush();
    if (o_.json)
        PrintJson(QJsonObject{{"ok", ok},
                              {"address", ok ? newAddress : QJsonValue(QJsonValue::Null)},
                              {"baud", static_cast<qint64>(d.baud)}});
    else if (ok)
        Print(W("地址设置成功", "address set"));
    return ok ? kExitOk : kExitDevice;
}

int Cli::SetBaud() {
    if (const int e = NeedPort(1)) return e;
    const std::optional<double> rate = protocol::ParseEntryNumber(o_.args[1]);
    if (!rate || (*rate != 2400 && *rate != 4800 && *rate != 9600))
        return Usage(W("波特率错误", "the rate must be 2400, 4800 or 9600"));
    const auto newBaud = static_cast<std::uint32_t>(*rate);
    const bool frame = ModeOf(o_.mode) == device::Addressing::Frame;
    // The FD frame names no address; the comm block writes one.
    if (const int e = Open(o_.address.has_value())) return e;
    device::FoundDevice d;
    d.mode = ModeOf(o_.mode);
    d.address = address_;
    d.baud = baud_;
    if (!frame) {
        // The comm block carries the address too: the one given, else the device's own.
        const bool known = device::Query(link_, d);
        tracer_.Flush();
        if (o_.address)
            d.address = address_;
        else if (!known)
            return Fail(kExitDevice, W("地址查询失败", "the device did not report its address"));
    }
    const bool ok = device::SetBaud(link_, d, d.address, newBaud);
    tracer_.Flush();
    if (o_.json)
        PrintJson(QJsonObject{
            {"ok", ok},
            {"address", d.address},
            {"baud", ok ? static_cast<qint64>(newBaud) : QJsonValue(QJsonValue::Null)}});
    else if (ok)
        Print(W("波特率设置成功", "rate set"));
    if (!ok) return Fail(kExitDevice, W("波特率设置失败", "rate not set"));
    return kExitOk;
}

int Cli::PagesCommand() {
    if (!o_.args.empty()) return Usage(W("pages 不带参数", "pages takes no arguments"));
    QJsonArray list;
    for (const pages::PageEntry& e : pages::PageCatalogue()) {
        QJsonArray types;
        int type = -1;
        if (e.types) {
            const pages::SensorTypes t = e.types();
            for (const char* item : t.items) types.append(item);
            type = e.type >= 0 ? e.type : t.defaultIndex;
        }
        std::string where = std::string(e.category) + (e.tab ? std::string(" / ") + e.tab : "");
        if (o_.json) {
            list.append(
                QJsonObject{{"name", e.name},
                            {"category", e.category},
                            {"tab", e.tab ? QJsonValue(e.tab) : QJsonValue(QJsonValue::Null)},
                            {"types", types},
                            {"type", type}});
        } else {
            std::string line = std::string(e.name);
            line.resize(std::max<std::size_t>(line.size() + 1, 17), ' ');
            line += where;
            if (type >= 0)
                line += "  [" + std::to_string(type) + "] " + types[type].toString().toStdString();
            Print(line);
        }
    }
    if (o_.json) PrintJson(list);
    return kExitOk;
}

Cli::Reading Cli::ReadRow(std::size_t row) {
    Reading r;
    r.row = row;
    r.status = client_.ReadRegisters(page_.Table().rows[row].reg, page_.CountOf(row), r.words);
    tracer_.Flush();
    return r;
}

QJsonObject Cli::RowJson(const Reading& r) {
    const pages::Row& row = page_.Table().rows[r.row];
    const bool ok = r.status == ExchangeStatus::Ok;
    QJsonObject j{{"page", Q(o_.page)}, {"name", Q(pages::ValueControlName(page_.Table(), r.row))},
                  {"label", row.label}, {"register", row.reg},
                  {"unit", row.unit},   {"value", QJsonValue::Null},
                  {"text", ""}};
    if (ok) {
        const std::string text = page_.TextOf(r.row, r.words);
        j["text"] = Q(text);
        // The number the text shows where it is one; the register for states and lists.
        const std::optional<double> shown = protocol::ParseEntryNumber(text);
        j["value"] = shown ? *shown : pages::RowNumber(row, page_.EncodingOf(r.row), r.words);
    } else {
        j["error"] = r.status == ExchangeStatus::CheckFailed ? "check-failed" : "no-reply";
    }
    return j;
}

int Cli::Read() {
    if (const int e = NeedPort(0)) return e;
    if (const int e = SelectPage()) return e;
    if (const int e = Open()) return e;
    QJsonArray list;
    bool failed = false;
    for (std::size_t i = 0; i < page_.Table().rows.size(); ++i) {
        if (!page_.Readable(i)) continue;
        const Reading r = ReadRow(i);
        const QJsonObject j = RowJson(r);
        failed = failed || r.status != ExchangeStatus::Ok;
        // What the page works out from this reading, shown after it.
        const pages::PageEntry::Derived& derived = page_.Entry().derived;
        QJsonObject extra;
        if (derived.text && derived.from == i && r.status == ExchangeStatus::Ok) {
            const std::string text = derived.text(r.words);
            extra = QJsonObject{{"page", Q(o_.page)},
                                {"name", derived.name},
                                {"label", derived.label},
                                {"register", j["register"]},
                                {"unit", ""},
                                {"value", j["value"]},
                                {"text", Q(text)}};
        }
        if (o_.json) {
            list.append(j);
            if (!extra.isEmpty()) list.append(extra);
        } else if (r.status == ExchangeStatus::Ok) {
            const pages::Row& row = page_.Table().rows[i];
            Print(std::string(row.label) + "\t" + j["text"].toString().toStdString() +
                  (*row.unit ? std::string(" ") + row.unit : "") + "\t" +
                  j["name"].toString().toStdString());
            if (!extra.isEmpty())
                Print(std::string(derived.label) + "\t" + extra["text"].toString().toStdString() +
                      "\t" + derived.name);
        } else {
            std::fprintf(stderr, "pelmarq-cli: %s (%s): %s\n", page_.Table().rows[i].label,
                         j["name"].toString().toStdString().c_str(),
                         StatusText(r.status, false).c_str());
        }
    }
    if (o_.json) PrintJson(list);
    return failed ? kExitDevice : kExitOk;
}

namespace {

// ISO 8601 local time with its offset and milliseconds: 2026-12-10T20:15:03.127+01:00.
std::string Now() {
    const QDateTime local = QDateTime::currentDateTime();
    // Qt writes "Z" for a zero offset; a record keeps the form of every other offset.
    const int offset = local.offsetFromUtc() / 60;
    const int hours = std::abs(offset) / 60, minutes = std::abs(offset) % 60;
    char zone[8];
    std::snprintf(zone, sizeof zone, "%c%02d:%02d", offset < 0 ? '-' : '+', hours % 100, minutes);
    return local.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")).toStdString() + zone;
}

std::string CsvField(const std::string& s) {
    if (s.find_first_of(",\"\n") == std::string::npos) return s;
    std::string out = "\"";
    for (char c : s) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace

int Cli::Watch() {
    if (const int e = NeedPort(0)) return e;
    if (const int e = SelectPage()) return e;
    if (const int e = Open()) return e;
    if (o_.csv) Print("time,page,label,value,unit");
    bool failed = false;
    for (long n = 0; !o_.count || n < *o_.count; ++n) {
        if (n > 0) std::this_thread::sleep_for(std::chrono::duration<double>(o_.interval));
        const std::string time = Now();
        QJsonArray values;
        for (std::size_t i = 0; i < page_.Table().rows.size(); ++i) {
            if (!page_.Polled(i)) continue;
            const Reading r = ReadRow(i);
            failed = failed || r.status != ExchangeStatus::Ok;
            const QJsonObject j = RowJson(r);
            const pages::Row& row = page_.Table().rows[i];
            const std::string text = j["text"].toString().toStdString();
            if (o_.csv)
                Print(CsvField(time) + "," + CsvField(o_.page) + "," + CsvField(row.label) + "," +
                      CsvField(text) + "," + CsvField(row.unit));
            else if (o_.json)
                values.append(j);
            else
                Print(time + "\t" + row.label + "\t" +
                      (r.status == ExchangeStatus::Ok ? text : "-") +
                      (*row.unit ? std::string(" ") + row.unit : ""));
        }
        // One JSON document per line and sample, for a reader that follows the output.
        if (o_.json && !o_.csv)
            std::printf("%s\n", QJsonDocument(QJsonObject{{"time", Q(time)}, {"values", values}})
                                    .toJson(QJsonDocument::Compact)
                                    .constData());
        std::fflush(stdout);
    }
    return failed ? kExitDevice : kExitOk;
}

int Cli::Snapshot() {
    if (const int e = NeedPort(0)) return e;
    if (const int e = SelectPage()) return e;
    if (const int e = Open()) return e;
    QJsonObject values;
    bool failed = false;
    for (std::size_t i = 0; i < page_.Table().rows.size(); ++i) {
        if (!page_.Readable(i)) continue;
        const Reading r = ReadRow(i);
        failed = failed || r.status != ExchangeStatus::Ok;
        QJsonObject j = RowJson(r);
        const QString name = j["name"].toString();
        j.remove("name");
        j.remove("page");
        j["writable"] = page_.Writable(i);
        values[name] = j;
        if (r.status != ExchangeStatus::Ok)
            std::fprintf(stderr, "pelmarq-cli: %s: %s\n", name.toStdString().c_str(),
                         StatusText(r.status, false).c_str());
    }
    PrintJson(QJsonObject{{"page", Q(o_.page)},
                          {"type", page_.TypeIndex() >= 0 ? QJsonValue(page_.TypeIndex())
                                                          : QJsonValue(QJsonValue::Null)},
                          {"address", address_},
                          {"baud", static_cast<qint64>(baud_)},
                          {"time", Q(Now())},
                          {"values", values}});
    return failed ? kExitDevice : kExitOk;
}

int Cli::Apply() {
    if (const int e = NeedPort(1)) return e;
    if (const int e = SelectPage()) return e;
    QFile file(Q(o_.args[1]));
    if (!file.open(QIODevice::ReadOnly))
        return Usage(W("无法读取文件 ", "cannot read ") + o_.args[1]);
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!doc.isObject() || !doc.object()["values"].isObject())
        return Usage(o_.args[1] + W(" 不是快照文件", " is no snapshot file"));
    const QJsonObject root = doc.object();
    if (root.contains("page") && root["page"].toString().toStdString() != o_.page)
        return Usage(o_.args[1] + W(" 是另一个页面的快照：", " holds another page: ") +
                     root["page"].toString().toStdString());
    const QJsonObject wanted = root["values"].toObject();

    // Every entry is checked before anything is sent.
    struct Change {
        std::size_t row;
        std::string name;
        std::string text;
        std::uint32_t bits;
    };
    std::vector<Change> changes;
    for (std::size_t i = 0; i < page_.Table().rows.size(); ++i) {
        if (!page_.Writable(i)) continue;
        const std::string name = pages::ValueControlName(page_.Table(), i);
        const QJsonValue v = wanted[Q(name)];
        if (!v.isObject() || !v.toObject().contains("text")) continue;
        const std::string text = v.toObject()["text"].toString().toStdString();
        if (text.empty()) continue;  // not read when the snapshot was taken
        const pages::RowEntry entry =
            pages::ConvertRowEntry(page_.Table().rows[i], page_.EncodingOf(i), text);
        switch (entry.error) {
            case pages::RowEntryError::None:
                break;
            case pages::RowEntryError::OutOfRange:
                return Usage(name + ": " + W("数值超出范围", "out of range") + " (" + text + ")");
            case pages::RowEntryError::NotZeroOrOne:
                return Usage(name + ": " + W("非法输入", "takes 0 or 1") + " (" + text + ")");
            case pages::RowEntryError::NotInList:
                return Usage(name + ": " + W("不在列表中", "not an item of the list") + " (" +
                             text + ")");
            case pages::RowEntryError::NotANumber:
                return Usage(name + ": " + W("请输入数字", "not a number") + " (" + text + ")");
        }
        changes.push_back({i, name, text, entry.bits});
    }
    if (const int e = Open()) return e;

    QJsonArray table;
    bool failed = false;
    if (!o_.json)
        Print(W("控件\t名称\t之前 -> 之后\t结果", "control\tlabel\tbefore -> after\tresult"));
    for (const Change& c : changes) {
        const pages::Row& row = page_.Table().rows[c.row];
        const pages::WriteRule rule = pages::WriteRuleOf(row, page_.EncodingOf(c.row));
        const bool pair = rule.range == protocol::EntryRange::Unsigned32 ||
                          rule.range == protocol::EntryRange::Float;
        const Reading before = ReadRow(c.row);
        QJsonObject j{{"name", Q(c.name)},          {"label", row.label},
                      {"register", row.reg},        {"wanted", Q(c.text)},
                      {"before", QJsonValue::Null}, {"after", QJsonValue::Null},
                      {"written", false},           {"ok", false}};
        std::string beforeText = "-", afterText = "-", outcome;
        if (before.status != ExchangeStatus::Ok) {
            outcome = StatusText(before.status, false);
        } else {
            beforeText = page_.TextOf(c.row, before.words);
            j["before"] = Q(beforeText);
            const std::uint32_t current =
                pair ? (std::uint32_t{before.words[0]} << 16 | before.words[1]) : before.words[0];
            if (current == c.bits) {
                afterText = beforeText;
                j["after"] = j["before"];
                j["ok"] = true;
                outcome = W("相同", "same");
            } else if (o_.dryRun) {
                j["ok"] = true;
                afterText = c.text;
                outcome = W("将写入", "would write");
            } else {
                const ExchangeStatus w =
                    pair ? client_.WriteRegisterPair(row.reg, c.bits)
                         : client_.WriteRegister(row.reg, static_cast<std::uint16_t>(c.bits));
                tracer_.Flush();
                j["written"] = w == ExchangeStatus::Ok;
                if (w != ExchangeStatus::Ok) {
                    outcome = StatusText(w, true);
                } else {
                    const Reading after = ReadRow(c.row);
                    if (after.status != ExchangeStatus::Ok) {
                        outcome = StatusText(after.status, false);
                    } else {
                        afterText = page_.TextOf(c.row, after.words);
                        j["after"] = Q(afterText);
                        const std::uint32_t now =
                            pair ? (std::uint32_t{after.words[0]} << 16 | after.words[1])
                                 : after.words[0];
                        j["ok"] = now == c.bits;
                        outcome = now == c.bits ? W("已写入", "written")
                                                : W("读回不一致", "reads back otherwise");
                    }
                }
            }
        }
        failed = failed || !j["ok"].toBool();
        if (o_.json)
            table.append(j);
        else
            Print(c.name + "\t" + row.label + "\t" + beforeText + " -> " + afterText + "\t" +
                  outcome);
    }
    if (o_.json) PrintJson(table);
    return failed ? kExitDevice : kExitOk;
}

int Cli::Diagnose() {
    if (const int e = NeedPort(0)) return e;
    const protocol::LinkDiagnosis d =
        protocol::DiagnoseLink(link_, port_, [this](const auto&) { tracer_.Flush(); });
    tracer_.Flush();
    const char* verdict = protocol::LinkVerdictName(d.verdict);
    std::string detail;
    switch (d.verdict) {
        case protocol::LinkVerdict::Ok:
            detail = "address " + std::to_string(d.address) + " at " + std::to_string(d.baud) +
                     " baud (" + protocol::AddressingName(d.mode) + ")";
            break;
        case protocol::LinkVerdict::OtherRate:
            detail = "bytes at " + std::to_string(d.baud) + " baud only";
            break;
        case protocol::LinkVerdict::OtherAddress:
            detail = "asked " + std::to_string(d.askedAddress) + ", answered " +
                     std::to_string(d.replyAddress) + " at " + std::to_string(d.baud) + " baud";
            break;
        case protocol::LinkVerdict::Exception:
            detail = "exception " + std::to_string(static_cast<int>(d.exception)) + " at " +
                     std::to_string(d.baud) + " baud";
            break;
        case protocol::LinkVerdict::Garbled:
            detail = std::string(protocol::VerdictName(d.reply)) + " at " + std::to_string(d.baud) +
                     " baud";
            break;
        case protocol::LinkVerdict::Echo:
            detail = d.answerBehindEcho ? "an answer follows the echo" : "nothing but the echo";
            break;
        case protocol::LinkVerdict::Silent:
            detail = "no reply at any rate after " + std::to_string(d.probes) + " requests";
            break;
        default: {
            // The detail of a JSON verdict is in English whatever --lang says.
            const bool english = o_.english;
            o_.english = english || o_.json;
            detail = OpenErrorText();
            o_.english = english;
            break;
        }
    }
    if (o_.json)
        PrintJson(QJsonObject{{"verdict", verdict}, {"detail", Q(detail)}});
    else
        Print(std::string(verdict) + "  " + detail);
    switch (d.verdict) {
        case protocol::LinkVerdict::Ok:
            return kExitOk;
        case protocol::LinkVerdict::Missing:
        case protocol::LinkVerdict::Busy:
        case protocol::LinkVerdict::Denied:
            return Fail(kExitPort, OpenErrorText());
        default:
            return kExitDevice;
    }
}

}  // namespace
}  // namespace cli

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const std::optional<cli::Options> o = cli::ParseOptions(args, &error);
    if (!o) {
        std::fprintf(stderr, "pelmarq-cli: %s\n", error.c_str());
        return cli::kExitUsage;
    }
    if (o->help) {
        std::printf("%s", cli::HelpText());
        return cli::kExitOk;
    }
    return cli::Cli(*o).Run();
}
