#pragma once
// A German desktop: LC_NUMERIC with a decimal comma, put in force for one scope. On Linux it
// is built with localedef into a private folder (nothing on the system changes); Windows
// has its own.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace protocoltest {

class CommaLocale {
  public:
    // `folder`: a name of the test's own, so tests run side by side never share one.
    explicit CommaLocale([[maybe_unused]] const std::string& folder) {
#ifdef _WIN32
        // Windows ships its locales; its C library names them after the language.
        for (const char* name : {"German_Germany.1252", "de-DE"}) {
            if (!std::setlocale(LC_ALL, name)) continue;
            built_ = true;
            break;
        }
        if (!built_) return;
#else
        namespace fs = std::filesystem;
        const fs::path dir = fs::temp_directory_path() / folder;
        fs::create_directories(dir);
        const std::string cmd =
            "localedef -i de_DE -f UTF-8 " + (dir / "de_DE.UTF-8").string() + " >/dev/null 2>&1";
        if (std::system(cmd.c_str()) != 0 && !fs::exists(dir / "de_DE.UTF-8")) return;
        built_ = true;
        ::setenv("LOCPATH", dir.c_str(), 1);
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) return;
#endif
        char probe[16];
        std::snprintf(probe, sizeof probe, "%.1f", 1.5);
        ok_ = std::string(probe) == "1,5";  // the locale really is in force
    }
    ~CommaLocale() {
        std::setlocale(LC_ALL, "C");
    }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    // False where localedef or its de_DE source is missing, or Windows knows no German
    // locale (the test is then skipped).
    bool Built() const {
        return built_;
    }
    bool Ok() const {
        return ok_;
    }

  private:
    bool built_ = false;
    bool ok_ = false;
};

}  // namespace protocoltest
