#include "options.h"

#include "entry_text.h"

namespace cli {

std::optional<Options> ParseOptions(const std::vector<std::string>& argv, std::string* error) {
    Options o;
    for (std::size_t i = 0; i < argv.size(); ++i) {
        const std::string& a = argv[i];
        const auto value = [&](const char* name) -> std::optional<std::string> {
            if (i + 1 >= argv.size()) {
                *error = std::string(name) + " needs a value";
                return std::nullopt;
            }
            return argv[++i];
        };
        if (a == "--json") {
            o.json = true;
        } else if (a == "--trace") {
            o.trace = true;
        } else if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--csv") {
            o.csv = true;
        } else if (a == "--dry-run") {
            o.dryRun = true;
        } else if (a == "--lang") {
            const auto v = value("--lang");
            if (!v) return std::nullopt;
            if (*v != "zh" && *v != "en") {
                *error = "--lang takes zh or en";
                return std::nullopt;
            }
            o.english = *v == "en";
        } else if (a == "-a" || a == "--address") {
            if (!(o.address = value("-a"))) return std::nullopt;
        } else if (a == "-b" || a == "--baud") {
            if (!(o.baud = value("-b"))) return std::nullopt;
        } else if (a == "--as") {
            const auto v = value("--as");
            if (!v) return std::nullopt;
            if (*v != "int" && *v != "uint" && *v != "tenths" && *v != "hundredths" &&
                *v != "u32" && *v != "float") {
                *error = "--as takes int, uint, tenths, hundredths, u32 or float";
                return std::nullopt;
            }
            o.as = *v;
        } else if (a == "--mode") {
            const auto v = value("--mode");
            if (!v) return std::nullopt;
            if (*v != "frame" && *v != "broadcast" && *v != "zero") {
                *error = "--mode takes frame, broadcast or zero";
                return std::nullopt;
            }
            o.mode = *v;
        } else if (a == "--page") {
            const auto v = value("--page");
            if (!v) return std::nullopt;
            o.page = *v;
        } else if (a == "--type" || a == "--interval" || a == "--count") {
            const auto v = value(a.c_str());
            if (!v) return std::nullopt;
            const std::optional<double> n = protocol::ParseEntryNumber(*v);
            const bool whole = n && *n == static_cast<double>(static_cast<long>(*n));
            if (a == "--interval") {
                if (!n || !(*n >= 0 && *n <= 86400)) {
                    *error = "--interval takes seconds (0 to 86400)";
                    return std::nullopt;
                }
                o.interval = *n;
            } else if (!n || !whole || *n < (a == "--type" ? 0 : 1) || *n > 1e9) {
                *error =
                    a + (a == "--type" ? " takes an item number from 0" : " takes a count from 1");
                return std::nullopt;
            } else if (a == "--type") {
                o.type = static_cast<int>(*n);
            } else {
                o.count = static_cast<long>(*n);
            }
        } else if (a.size() > 1 && a[0] == '-' && !protocol::ParseEntryNumber(a)) {
            *error = "unknown option " + a;
            return std::nullopt;
        } else if (o.command.empty()) {
            o.command = a;
        } else {
            o.args.push_back(a);
        }
    }
    return o;
}

const char* HelpText() {
    return R"(usage: pelmarq-cli [--json] [--trace] [--lang zh|en] COMMAND [PORT] [OPTIONS]

PORT is a device path (/dev/ttyUSB0), rfc2217://HOST:PORT or tcp://HOST:PORT.

commands:
  ports                                  serial ports, their adapters, whether you may open them
  scan PORT                              find the device: its address, rate and addressing mode
  get PORT -a ADDR -b BAUD REG[:COUNT] [--as AS]
                                         read COUNT values from register REG (function 3)
  set PORT -a ADDR -b BAUD REG=VALUE [--as AS]
                                         write one value (function 6; u32 and float: 16)
  set-address PORT -a ADDR -b BAUD NEW [--mode MODE]
                                         give the device the address NEW (1-255)
  set-baud PORT -a ADDR -b BAUD NEW [--mode MODE]
                                         give the device the rate NEW (2400, 4800 or 9600)
  pages                                  the page names (as the simulated devices' profiles)
  read PORT -a ADDR -b BAUD --page NAME [--type N]
                                         every value the page shows, as it shows it
  watch PORT -a ADDR -b BAUD --page NAME [--type N] [--interval S] [--count N] [--csv]
                                         the page's real-time values every S seconds (1)
  snapshot PORT -a ADDR -b BAUD --page NAME [--type N] > found.json
                                         every value of the page, keyed by control name
  apply PORT -a ADDR -b BAUD --page NAME [--type N] FILE.json [--dry-run]
                                         write the page's settable values that differ from
                                         FILE, read each back, print before and after
  diagnose PORT                          what is wrong when no device answers

options:
  --json         output as JSON (keys in English, stable)
  --trace        every frame on the line to standard error
  --lang zh|en   the tool's own words in Chinese (default) or English
  -a ADDR        the device's address (0-255; 255 and 0 for the comm block modes)
  -b BAUD        the line's rate
  --as AS        int, uint (default), tenths, hundredths, u32 or float
  --mode MODE    frame (default), broadcast or zero: how the device takes address and rate
  --type N       the page's sensor type, an item number of its list (see pages)

exit codes: 0 done; 1 the device failed or refused something (also when only some values
failed); 2 usage or a refused entry (nothing sent); 3 the port could not be opened.
)";
}

}  // namespace cli
