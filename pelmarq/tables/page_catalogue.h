#pragma once
// Every device page by a short name, the words the simulated devices' profiles use (th,
// co2, co2-gas, nh3, light-20w, wind-direction, water-gauge, qx40, ...): the page's table,
// where the windows show it, the sensor type the name stands for, and the few values a page
// works out itself. No Qt.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "page_tables.h"

namespace pages {

struct PageEntry {
    const char* name;
    const char* category;  // main tab title
    const char* tab;       // sub-tab title; nullptr where the category is the page
    PageSpec (*spec)();
    SensorTypes (*types)() = nullptr;      // pages with a "传感器类型" list
    int type = -1;                         // the item the name picks; -1: the list's default
    RangedEncoding (*ranges)() = nullptr;  // kRanged rows follow the type's range
    // A page that shows a row otherwise than its table says (the eighteen-element
    // monitor's unsigned values, the evaporation height): the registers that row reads and
    // the text it shows for them. nullopt: as the table says.
    std::optional<std::uint8_t> (*countOf)(std::size_t row) = nullptr;
    std::optional<std::string> (*textOf)(std::size_t row, const std::uint16_t* words) = nullptr;
    // A value the page shows beside its rows, worked out from one row's reading (the wind
    // direction's name from its code): the control that shows it, its caption, the row.
    struct Derived {
        const char* name = nullptr;
        const char* label = nullptr;
        std::size_t from = 0;
        std::string (*text)(const std::uint16_t* words) = nullptr;
    };
    Derived derived{};
};

// In the windows' tab order.
const std::vector<PageEntry>& PageCatalogue();
const PageEntry* FindPage(std::string_view name);

// One page as a program reads it: the table with a sensor type chosen.
class PageView {
  public:
    // `typeIndex`: an item of the page's type list (-1: the one the page's name picks).
    // False when the page has no such item.
    bool Select(const PageEntry& entry, int typeIndex = -1);

    const PageEntry& Entry() const { return *entry_; }
    const PageSpec& Table() const { return spec_; }
    // The chosen sensor type ("" on pages without a list) and its index.
    const std::string& TypeText() const { return typeText_; }
    int TypeIndex() const { return typeIndex_; }

    // The encoding a row uses with the chosen type.
    Encoding EncodingOf(std::size_t row) const;
    // The row takes part with the chosen type (a gas-only type leaves temperature and
    // humidity out).
    bool Applies(std::size_t row) const;
    // Rows the page shows a value for that a read can fill: not hidden, not a command.
    bool Readable(std::size_t row) const;
    // Rows with a set button whose value is read back: not hidden, not a command.
    bool Writable(std::size_t row) const;
    // Rows the page's real-time box refreshes.
    bool Polled(std::size_t row) const;

    std::uint8_t CountOf(std::size_t row) const;
    std::string TextOf(std::size_t row, const std::uint16_t* words) const;

  private:
    const PageEntry* entry_ = nullptr;
    PageSpec spec_;
    std::string typeText_;
    int typeIndex_ = -1;
};

}  // namespace pages
