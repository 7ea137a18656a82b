#pragma once
// A sensor category: a second row of tabs, one device page per device type.
#include <QCoreApplication>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <vector>

#include "page_tables.h"
#include "serial_link.h"

class QTabWidget;

namespace pages {

class DevicePage;

using PageFactory = std::function<QWidget*(transport::SerialLink&, QWidget* parent)>;

struct SubTab {
    const char* title;
    PageFactory make;
};

class CategoryContainer : public QWidget {
    Q_OBJECT
  public:
    CategoryContainer(transport::SerialLink& link, int tabId, const std::vector<SubTab>& tabs,
                      QWidget* parent = nullptr);

    QTabWidget* Tabs() const { return tabs_; }
    // The device page of the selected sub-tab.
    DevicePage* CurrentPage() const;
    DevicePage* PageAt(int index) const;

  private:
    QTabWidget* tabs_;
};

// Registers Pelmarq's icons. They live in a static library, where nothing would pull them
// into a program unless something names them.
void InitResources();

// Makes a page of class P.
template <class P>
QWidget* Make(transport::SerialLink& link, QWidget* parent) {
    return new P(link, parent);
}

// Makes a page of class P whose sensor-type combo the container fills: the items in order,
// `defaultIndex` selected (the page then applies that type as if the user had chosen it).
template <class P>
PageFactory MakeWithTypes(std::vector<const char*> items, int defaultIndex) {
    return [items, defaultIndex](transport::SerialLink& link, QWidget* parent) -> QWidget* {
        auto* page = new P(link, parent);
        QStringList texts;
        for (const char* item : items) texts << QCoreApplication::translate("pages", item);
        page->SetSensorTypes(texts, defaultIndex);
        return page;
    };
}

template <class P>
PageFactory MakeWithTypes(const SensorTypes& types) {
    return MakeWithTypes<P>(types.items, types.defaultIndex);
}

}  // namespace pages
