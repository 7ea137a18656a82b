#pragma once
// The ten sensor categories of the main window, in tab order.
#include <vector>

#include "category_container.h"

namespace pages {

struct Category {
    const char* title;
    int tabId;                 // the container's tab control id
    std::vector<SubTab> tabs;  // empty: the category is one page (`page`)
    PageFactory page;
};

const std::vector<Category>& Categories();

}  // namespace pages
