#include "category_container.h"

#include <QCoreApplication>
#include <QLabel>
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
        QWidget* page = tab.make ? tab.make(link, tabs_) : MakePlaceholder(tabs_);
        tabs_->addTab(page, QCoreApplication::translate("pages", tab.title));
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

QWidget* MakePlaceholder(QWidget* parent) {
    auto* page = new QWidget(parent);
    page->setObjectName("placeholder");
    auto* layout = new QVBoxLayout(page);
    auto* note = new QLabel(QCoreApplication::translate("pages", "此设备页面尚未提供。"), page);
    note->setAlignment(Qt::AlignCenter);
    layout->addWidget(note);
    return page;
}

}  // namespace pages
