#include "category_container.h"

#include <QCoreApplication>
#include <QTabWidget>
#include <QVBoxLayout>

#include "device_page.h"

// Q_INIT_RESOURCE names a function of the global namespace.
static void InitPelmarqResources() {
    Q_INIT_RESOURCE(pelmarq);
}

namespace pages {

CategoryContainer::CategoryContainer(transport::SerialLink& link, int tabId,
                                     const std::vector<SubTab>& tabs, QWidget* parent)
    : QWidget(parent), tabs_(new QTabWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs_);
    tabs_->setObjectName(QString::number(tabId));
    tabs_->setUsesScrollButtons(true);
    for (const SubTab& tab : tabs) {
        tabs_->addTab(tab.make(link, tabs_), QCoreApplication::translate("pages", tab.title));
    }
    tabs_->setCurrentIndex(0);
}

DevicePage* CategoryContainer::PageAt(int index) const {
    return qobject_cast<DevicePage*>(tabs_->widget(index));
}

DevicePage* CategoryContainer::CurrentPage() const {
    return PageAt(tabs_->currentIndex());
}

void InitResources() {
    InitPelmarqResources();
}

}  // namespace pages
