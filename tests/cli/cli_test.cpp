// pelmarq-cli as a user runs it: the real program on a pseudo-terminal against a simulated
// device; the frames the device received, the JSON printed and the exit codes.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringList>
#include <cstdio>
#include <fstream>
#include <memory>

#include "cli_runner.h"
#include "profiles.h"
#include "register_device.h"
#include "simulated_line.h"

namespace {

using clitest::RunCli;
using sim::AddressingMode;

sim::RegisterDeviceConfig At(std::uint8_t address, std::uint32_t baud,
                             AddressingMode mode = AddressingMode::Frame) {
    sim::RegisterDeviceConfig c;
    c.address = address;
    c.baud = baud;
    c.mode = mode;
    return c;
}

struct Bench {
    explicit Bench(sim::RegisterDeviceConfig config, sim::RegisterMap registers = {})
        : device(std::make_shared<sim::RegisterDevice>(config, std::move(registers))),
          line(device) {}
    explicit Bench(const char* profile)
        : device(
              std::dynamic_pointer_cast<sim::RegisterDevice>(sim::FindProfile(profile)->make({}))),
          line(device) {
        device->Freeze();
    }
    // The program's arguments: the command, the port, then the rest.
    std::vector<std::string> Args(const std::string& command, std::vector<std::string> rest = {},
                                  bool json = true) {
        std::vector<std::string> a;
        if (json) a.push_back("--json");
        a.push_back(command);
        a.push_back(line.Path());
        a.insert(a.end(), rest.begin(), rest.end());
        return a;
    }
    // -a and -b of the device as it is now.
    std::vector<std::string> At(std::vector<std::string> rest) {
        rest.insert(rest.begin(), {"-a", std::to_string(device->Address()), "-b",
                                   std::to_string(device->Baud())});
        return rest;
    }
    std::vector<sim::Bytes> Writes() const {
        std::vector<sim::Bytes> out;
        for (const sim::Bytes& r : line.Received())
            if (r.size() > 1 && (r[1] == 0x06 || r[1] == 0x10)) out.push_back(r);
        return out;
    }

    std::shared_ptr<sim::RegisterDevice> device;
    sim::SimulatedLine line;
};

QJsonDocument Json(const clitest::CliRun& r) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(r.out));
}

std::string Hex(const sim::Bytes& bytes) {
    std::string out;
    char b[4];
    for (std::uint8_t v : bytes) {
        std::snprintf(b, sizeof b, "%s%02X", out.empty() ? "" : " ", v);
        out += b;
    }
    return out;
}

TEST(PelmarqCli, ScanFindsAddressRateAndMode) {
    struct Case {
        sim::RegisterDeviceConfig config;
        std::uint8_t stop1, stop2;
        const char* mode;
        bool stopBitsOk;
    };
    const Case cases[] = {
        {At(1, 4800), 0, 1, "frame", true},
        {At(9, 2400), 0, 1, "frame", true},
        {At(5, 9600, AddressingMode::Broadcast), 0, 1, "broadcast", true},
        {At(3, 9600, AddressingMode::Zero), 1, 1, "zero", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        Bench bench(c.config);
        bench.device->SetCommBlock(2, c.stop1, c.stop2);
        const auto run = RunCli(bench.Args("scan"));
        EXPECT_EQ(run.exitCode, 0) << run.err;
        const QJsonObject j = Json(run).object();
        EXPECT_TRUE(j["found"].toBool());
        EXPECT_EQ(j["address"].toInt(), c.config.address);
        EXPECT_EQ(j["baud"].toInt(), static_cast<int>(c.config.baud));
        EXPECT_EQ(j["mode"].toString().toStdString(), c.mode);
        if (c.config.mode == AddressingMode::Frame) {
            EXPECT_TRUE(j["parity"].isNull());
        } else {
            EXPECT_EQ(j["parity"].toInt(), 2);
            EXPECT_EQ(j["stop_bits_ok"].toBool(), c.stopBitsOk);
        }
        ASSERT_FALSE(bench.line.Received().empty());
        EXPECT_EQ(Hex(bench.line.Received().front()), "FD FD FD 00 00 E9 88");
    }
}

TEST(PelmarqCli, ScanOfASilentLineFindsNothing) {
    Bench bench(At(1, 9600));
    bench.line.SetFault(sim::Fault::Silence);
    const auto run = RunCli(bench.Args("scan"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(Json(run).object()["found"].toBool());
    EXPECT_TRUE(Json(run).object()["address"].isNull());
    // The five probes, the last two the comm block reads at 0xFF and 0.
    const auto received = bench.line.Received();
    ASSERT_EQ(received.size(), 5u);
    EXPECT_EQ(Hex(received[3]), "FF 03 02 00 00 05 91 AF");
    EXPECT_EQ(Hex(received[4]), "00 03 02 00 00 05 85 A0");
}

TEST(PelmarqCli, SetThenGetRoundTrip) {
    struct Case {
        const char* as;
        const char* entry;
        std::vector<std::uint16_t> registers;  // what the device holds after the set
        std::uint8_t function;
        double read;  // what get gives back
    };
    const Case cases[] = {
        {"tenths", "36.5", {365}, 0x06, 36.5},
        {"hundredths", "2.3", {229}, 0x06, 2.29},  // truncated, not rounded
        {"int", "-20", {65516}, 0x06, -20},
        {"uint", "65535", {65535}, 0x06, 65535},
        {"u32", "100000", {0x0001, 0x86A0}, 0x10, 100000},
        {"float", "0.95", {0x3F73, 0x3333}, 0x10, 0.95f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.as);
        Bench bench(At(7, 9600), {{96, 0}, {97, 0}});
        const auto set =
            RunCli(bench.Args("set", bench.At({std::string("96=") + c.entry, "--as", c.as})));
        ASSERT_EQ(set.exitCode, 0) << set.err;
        const QJsonObject s = Json(set).object();
        EXPECT_TRUE(s["ok"].toBool());
        EXPECT_EQ(s["register"].toInt(), 96);
        EXPECT_EQ(s["as"].toString().toStdString(), c.as);
        for (std::size_t i = 0; i < c.registers.size(); ++i)
            EXPECT_EQ(bench.device->Register(static_cast<std::uint16_t>(96 + i)), c.registers[i]);
        ASSERT_EQ(bench.Writes().size(), 1u);
        EXPECT_EQ(bench.Writes()[0][0], 7);
        EXPECT_EQ(bench.Writes()[0][1], c.function);

        const auto get = RunCli(bench.Args("get", bench.At({"96:1", "--as", c.as})));
        ASSERT_EQ(get.exitCode, 0) << get.err;
        const QJsonObject g = Json(get).object();
        EXPECT_EQ(g["register"].toInt(), 96);
        EXPECT_EQ(g["count"].toInt(), 1);
        ASSERT_EQ(g["values"].toArray().size(), 1);
        EXPECT_NEAR(g["values"][0].toDouble(), c.read, 1e-6);
    }
}

TEST(PelmarqCli, RefusedEntriesExitTwoAndSendNothing) {
    const std::vector<std::vector<std::string>> cases = {
        {"set", "48=abc"},
        {"set", "48="},
        {"set", "48=+-5"},
        {"set", "48=5x"},
        {"set", "48=70000"},
        {"set", "48=-1"},
        {"set", "48=3276.8", "--as", "tenths"},
        {"set", "48=nan", "--as", "float"},
        {"set", "banana=1"},
        {"set-address", "256"},
        {"set-address", "0"},
        {"set-address", "abc"},
        {"set-baud", "19200"},
        {"set-baud", "4800.5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0] + " " + c[1]);
        Bench bench(At(1, 9600));
        std::vector<std::string> rest = bench.At({c.begin() + 1, c.end()});
        const auto run = RunCli(bench.Args(c[0], rest));
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_FALSE(run.err.empty());
        EXPECT_TRUE(bench.line.Received().empty()) << Hex(bench.line.Received().front());
    }
}

TEST(PelmarqCli, AWriteNotConfirmedExitsOne) {
    const sim::Fault faults[] = {sim::Fault::Silence, sim::Fault::BadEcho, sim::Fault::Exception,
                                 sim::Fault::BadCrc, sim::Fault::ShortValid};
    for (sim::Fault fault : faults) {
        SCOPED_TRACE(static_cast<int>(fault));
        Bench bench(At(1, 9600), {{48, 100}});
        bench.line.SetFault(fault);
        const auto run = RunCli(bench.Args("set", bench.At({"48=250"})));
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_FALSE(Json(run).object()["ok"].toBool());
        EXPECT_EQ(Json(run).object()["written"].toInt(), 250);
        EXPECT_EQ(bench.Writes().size(), 1u);
    }
}

TEST(PelmarqCli, AddressAndBaudCommands) {
    struct Case {
        const char* what;
        AddressingMode mode;
        const char* modeWord;
        const char* command;
        const char* value;
        sim::Fault fault;
        int exitCode;
        std::uint8_t address;  // the device's afterwards
        std::uint32_t baud;
    };
    const Case cases[] = {
        {"frame address", AddressingMode::Frame, "frame", "set-address", "7", sim::Fault::None, 0,
         7, 9600},
        // The device takes the change, but no reply confirms it.
        {"frame address silent", AddressingMode::Frame, "frame", "set-address", "7",
         sim::Fault::Silence, 1, 7, 9600},
        {"frame address other reply", AddressingMode::Frame, "frame", "set-address", "7",
         sim::Fault::BadEcho, 1, 7, 9600},
        {"frame baud", AddressingMode::Frame, "frame", "set-baud", "2400", sim::Fault::None, 0, 1,
         2400},
        {"frame baud silent", AddressingMode::Frame, "frame", "set-baud", "2400",
         sim::Fault::Silence, 1, 1, 2400},
        {"broadcast address", AddressingMode::Broadcast, "broadcast", "set-address", "12",
         sim::Fault::None, 0, 12, 9600},
        {"zero baud", AddressingMode::Zero, "zero", "set-baud", "4800", sim::Fault::None, 0, 1,
         4800},
        {"zero address short reply", AddressingMode::Zero, "zero", "set-address", "12",
         sim::Fault::ShortValid, 1, 1, 9600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bench bench(At(1, 9600, c.mode));
        if (c.fault != sim::Fault::None) bench.line.SetFault(c.fault);
        const auto run = RunCli(bench.Args(c.command, bench.At({c.value, "--mode", c.modeWord})));
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        const QJsonObject j = Json(run).object();
        EXPECT_EQ(j["ok"].toBool(), c.exitCode == 0);
        if (c.fault != sim::Fault::ShortValid && c.fault != sim::Fault::BadEcho) {
            EXPECT_EQ(bench.device->Address(), c.address);
        }
        EXPECT_EQ(bench.device->Baud(), c.baud);
        // The address set in frame mode is the FD frame with the new address.
        if (c.mode == AddressingMode::Frame && std::string(c.command) == "set-address") {
            EXPECT_EQ(Hex(bench.line.Received().back()).substr(0, 15), "FD FD FD 00 07 ");
        }
    }
}

// The control names and texts of a page as read; the page's own windows show the same
// texts (tests/pelmarq/cli_page_text_test.cpp).
TEST(PelmarqCli, ReadPageTexts) {
    struct Case {
        const char* profile;
        sim::RegisterMap registers;
        std::vector<std::pair<const char*, const char*>> texts;  // name, text
        std::size_t rows;
    };
    const Case cases[] = {
        {"co2-gas",
         {{2, 650}, {58, 1500}, {61, 0xFFEC}},
         {{"1053", "650"}, {"1073", "1500"}, {"1100", "-20"}},
         4},
        {"nh3", {{2, 1234}, {54, 2500}}, {{"1089", "12.34"}, {"1104", "25.00"}}, 12},
        {"light-20w",
         {{2, 0x0001}, {3, 0x86A0}, {6, 1000}},
         {{"1044", "100000"}, {"1045", "1000"}},
         2},
        {"water-gauge",
         {{2, 1}, {0x64, 1}, {0x75, 2}},
         {{"水浸状态:edit", "有水"}, {"主机运行方案:combo", "水深测量"}},
         14},
        {"evaporation", {{0, 3142}}, {{"重量:edit", "3142"}, {"当前水面高度:edit", "10.00"}}, 2},
        {"wind-direction",
         {{0, 3}, {1, 135}},
         {{"寄存器0:edit", "3"}, {"风向:value", "东南风"}, {"寄存器1:edit", "135"}},
         3},
        {"qx40",
         {{8, 40000}, {5, 2}, {6, 0}},
         {{"CO2:edit", "40000"}, {"光照度:edit", "131072"}},
         36},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.profile);
        Bench bench(c.profile);
        for (const auto& [reg, value] : c.registers) bench.device->SetRegister(reg, value);
        const auto run = RunCli(bench.Args("read", bench.At({"--page", c.profile})));
        EXPECT_EQ(run.exitCode, 0) << run.err;
        const QJsonArray list = Json(run).array();
        EXPECT_EQ(static_cast<std::size_t>(list.size()), c.rows);
        for (const auto& [name, text] : c.texts) {
            bool seen = false;
            for (const QJsonValue& v : list) {
                if (v["name"].toString() != QString::fromUtf8(name)) continue;
                seen = true;
                EXPECT_EQ(v["text"].toString().toStdString(), text) << name;
                EXPECT_EQ(v["page"].toString().toStdString(), c.profile);
            }
            EXPECT_TRUE(seen) << name;
        }
    }
}

TEST(PelmarqCli, ReadGoesOnPastAFailedValueAndExitsOne) {
    Bench bench("th");
    bench.line.SetFault(sim::Fault::Silence, 1);
    const auto run = RunCli(bench.Args("read", bench.At({"--page", "th"})));
    EXPECT_EQ(run.exitCode, 1);
    const QJsonArray list = Json(run).array();
    ASSERT_EQ(list.size(), 2);
    EXPECT_TRUE(list[0]["value"].isNull());
    EXPECT_EQ(list[0]["error"].toString(), "no-reply");
    EXPECT_FALSE(list[1]["text"].toString().isEmpty());
}

TEST(PelmarqCli, SnapshotThenApplyWritesOnlyTheDifference) {
    struct Case {
        const char* page;
        const char* name;   // the value changed in the file
        const char* entry;  // its new text
        const char* write;  // the one write that goes out (its first bytes)
        std::vector<std::pair<std::uint16_t, std::uint16_t>> after;  // registers afterwards
        const char* absent;  // a control the snapshot leaves out (hidden or a command)
    };
    const Case cases[] = {
        {"th-board", "1408", "35.5", "01 06 00 30 01 63", {{48, 355}}, "1407:set"},
        {"water-gauge",
         "主机运行方案:combo",
         "倾斜测量",
         "01 06 00 64 00 02",
         {{0x64, 2}},
         "模拟量类型:combo"},
        {"dust",
         "TSP系数A:edit",
         "0.95",
         "01 10 00 60 00 02 04 3F 73 33 33",
         {{0x60, 0x3F73}, {0x61, 0x3333}},
         "PM2.5系数B:set"},
        {"co2", "1073", "1600", "01 06 00 3A 06 40", {{58, 1600}}, "1085"},
        {"evaporation", "重量:edit", "5", nullptr, {}, "清零操作:set"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        Bench bench(c.page);
        const auto snap = RunCli(bench.Args("snapshot", bench.At({"--page", c.page}), false));
        ASSERT_EQ(snap.exitCode, 0) << snap.err;
        QJsonObject root = Json(snap).object();
        EXPECT_EQ(root["page"].toString().toStdString(), c.page);
        QJsonObject values = root["values"].toObject();
        ASSERT_TRUE(values.contains(QString::fromUtf8(c.name))) << snap.out;
        EXPECT_FALSE(values.contains(QString::fromUtf8(c.absent)));
        EXPECT_EQ(values[QString::fromUtf8(c.name)].toObject()["writable"].toBool(),
                  c.write != nullptr);
        QJsonObject changed = values[QString::fromUtf8(c.name)].toObject();
        changed["text"] = QString::fromUtf8(c.entry);
        values[QString::fromUtf8(c.name)] = changed;
        root["values"] = values;
        const std::string file = ::testing::TempDir() + "pelmarq_cli_left.json";
        std::ofstream(file) << QJsonDocument(root).toJson().toStdString();
        bench.line.ClearReceived();

        const auto dry =
            RunCli(bench.Args("apply", bench.At({"--page", c.page, file, "--dry-run"})));
        EXPECT_EQ(dry.exitCode, 0) << dry.err;
        EXPECT_TRUE(bench.Writes().empty());

        const auto run = RunCli(bench.Args("apply", bench.At({"--page", c.page, file})));
        EXPECT_EQ(run.exitCode, 0) << run.err;
        const auto writes = bench.Writes();
        if (!c.write) {
            // A read-only value of the file is never written.
            EXPECT_TRUE(writes.empty());
            continue;
        }
        ASSERT_EQ(writes.size(), 1u);
        EXPECT_EQ(Hex(writes[0]).substr(0, std::string(c.write).size()), c.write);
        for (const auto& [reg, value] : c.after) EXPECT_EQ(bench.device->Register(reg), value);
        int written = 0;
        for (const QJsonValue& v : Json(run).array()) {
            EXPECT_TRUE(v["ok"].toBool()) << v["name"].toString().toStdString();
            if (!v["written"].toBool()) continue;
            ++written;
            EXPECT_EQ(v["name"].toString(), QString::fromUtf8(c.name));
        }
        EXPECT_EQ(written, 1);
    }
}

TEST(PelmarqCli, ApplyRefusesABadEntryBeforeSendingAnything) {
    Bench bench("co2");
    const std::string file = ::testing::TempDir() + "pelmarq_cli_bad.json";
    std::ofstream(file)
        << R"({"page":"co2","values":{"1055":{"text":"35"},"1073":{"text":"70000"}}})";
    const auto run = RunCli(bench.Args("apply", bench.At({"--page", "co2", file})));
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("1073"), std::string::npos);
    EXPECT_TRUE(bench.line.Received().empty());
}

TEST(PelmarqCli, WatchCsv) {
    Bench bench("co2");
    const auto run = RunCli(bench.Args(
        "watch", bench.At({"--page", "co2", "--count", "2", "--interval", "0", "--csv"}), false));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const QStringList lines = QString::fromStdString(run.out).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1 + 2 * 3);
    EXPECT_EQ(lines[0], "time,page,label,value,unit");
    const QRegularExpression row(
        R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}[+-]\d\d:\d\d,co2,[^,]+,-?\d+(\.\d+)?,[^,]+$)");
    for (int i = 1; i < lines.size(); ++i)
        EXPECT_TRUE(row.match(lines[i]).hasMatch()) << lines[i].toStdString();
    EXPECT_TRUE(lines[1].contains(",co2,温度,"));
    EXPECT_TRUE(lines[3].endsWith(",ppm"));
    EXPECT_EQ(bench.line.Received().size(), 6u);  // three values, twice
}

TEST(PelmarqCli, DiagnoseASilentLine) {
    Bench bench(At(1, 9600));
    bench.line.SetFault(sim::Fault::Silence);
    const auto run = RunCli(bench.Args("diagnose"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(Json(run).object()["verdict"].toString(), "silent");
    EXPECT_FALSE(Json(run).object()["detail"].toString().isEmpty());
}

TEST(PelmarqCli, TraceShowsEveryFrameOnStandardError) {
    Bench bench(At(1, 9600), {{2, 650}});
    const auto run = RunCli({"--trace", "get", bench.line.Path(), "-a", "1", "-b", "9600", "2"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "2: 650\n");
    EXPECT_NE(run.err.find("-> 01 03 00 02 00 01 25 CA  read-registers"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("<- 01 03 02 02 8A"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(" ok"), std::string::npos);

    bench.line.SetFault(sim::Fault::Silence);
    const auto silent = RunCli({"--trace", "get", bench.line.Path(), "-a", "1", "-b", "9600", "2"});
    EXPECT_NE(silent.err.find(".. no-reply"), std::string::npos) << silent.err;
}

TEST(PelmarqCli, ExitCodes) {
    Bench bench(At(1, 9600), {{0, 5}});
    const std::string port = bench.line.Path();
    struct Case {
        std::vector<std::string> args;
        int exitCode;
    };
    const std::vector<Case> cases = {
        {{"--help"}, 0},
        {{"pages"}, 0},
        {{"--json", "ports"}, 0},
        {{"get", port, "-a", "1", "-b", "9600", "0"}, 0},
        {{}, 2},
        {{"frobnicate"}, 2},
        {{"get", port, "-a", "1", "0"}, 2},                  // no -b
        {{"get", port, "-a", "300", "-b", "9600", "0"}, 2},  // no such address
        {{"read", port, "-a", "1", "-b", "9600", "--page", "nope"}, 2},
        {{"read", port, "-a", "1", "-b", "9600", "--page", "uv", "--type", "5"}, 2},
        {{"--lang", "fr", "pages"}, 2},
        {{"get", port, "-a", "2", "-b", "9600", "0"}, 1},  // nobody at address 2
        {{"get", port, "-a", "1", "-b", "4800", "0"}, 1},  // the device runs at 9600
        {{"get", "/dev/pelmarq-no-such-port", "-a", "1", "-b", "9600", "0"}, 3},
        {{"scan", "/dev/pelmarq-no-such-port"}, 3},
        {{"diagnose", "/dev/pelmarq-no-such-port"}, 3},
        {{"get", "tcp://127.0.0.1:1", "-a", "1", "-b", "9600", "0"}, 3},
    };
    for (const Case& c : cases) {
        std::string what;
        for (const std::string& a : c.args) what += a + " ";
        SCOPED_TRACE(what);
        const auto run = RunCli(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
        if (c.exitCode != 0) {
            EXPECT_FALSE(run.err.empty());
            // Errors are one line each.
            EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
        }
    }
}

}  // namespace
