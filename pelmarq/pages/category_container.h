#pragma once
// A sensor category: a second row of tabs, one device page per device type.
#include <QWidget>
#include <functional>
#include <vector>

#include "serial_link.h"

class QTabWidget;

namespace pages {

class DevicePage;

using PageFactory = std::function<QWidget*(transport::SerialLink&, QWidget* parent)>;

struct SubTab {
    const char* title;
    PageFactory make;  // empty: the page is not available yet
};

class CategoryContainer : public QWidget {
    Q_OBJECT
  public:
    CategoryContainer(transport::SerialLink& link, int tabId, const std::vector<SubTab>& tabs,
                      QWidget* parent = nullptr);

    QTabWidget* Tabs() const { return tabs_; }
    // The device page of the selected sub-tab (nullptr for a page not available yet).
    DevicePage* CurrentPage() const;
    DevicePage* PageAt(int index) const;

  private:
    QTabWidget* tabs_;
};

// Stands where a page is not available yet; it never pretends to talk to a device.
QWidget* MakePlaceholder(QWidget* parent);

// Makes a page of class P.
template <class P>
QWidget* Make(transport::SerialLink& link, QWidget* parent) {
    return new P(link, parent);
}

}  // namespace pages
