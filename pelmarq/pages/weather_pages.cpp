#include "weather_pages.h"

#include <QCoreApplication>

namespace pages {

QWidget* MakeUvPage(transport::SerialLink& link, QWidget* parent) {
    auto* page = new DevicePage(link, UvSpec(), parent);
    QStringList items;
    const SensorTypes types = UvTypes();
    for (const char* item : types.items) items << QCoreApplication::translate("pages", item);
    page->SetSensorTypes(items, types.defaultIndex);
    return page;
}

}  // namespace pages
