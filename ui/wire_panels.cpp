#include "wire_panels.h"

#include <QDockWidget>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QPushButton>
#include <QShortcut>

#include "traffic_view.h"
#include "trend_view.h"

namespace ui {

WirePanels::WirePanels(transport::SerialLink& link, QWidget* window, bool trend) : QObject(window) {
    host_ = new QMainWindow(window);
    // A main window is always made a window of its own; this one lives inside the dialog.
    host_->setWindowFlags(Qt::Widget);
    host_->setObjectName("panelHost");
    host_->setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks);
    // A main window needs a central widget; the panels take all of the host's room.
    auto* centre = new QWidget(host_);
    centre->setMaximumSize(0, 0);
    host_->setCentralWidget(centre);
    host_->hide();

    buttons_ = new QWidget(window);
    buttons_->setObjectName("panelButtons");
    auto* row = new QHBoxLayout(buttons_);
    row->setContentsMargins(0, 0, 0, 0);

    traffic_ = new TrafficView(link);
    trafficDock_ = AddDock(traffic_, tr("通信监视"), "trafficDock");
    AddToggle(trafficDock_, tr("通信监视"), "trafficToggle", Qt::Key_T);
    if (trend) {
        trend_ = new TrendView;
        trendDock_ = AddDock(trend_, tr("趋势"), "trendDock");
        host_->splitDockWidget(trafficDock_, trendDock_, Qt::Horizontal);
        AddToggle(trendDock_, tr("趋势"), "trendToggle", Qt::Key_G);
    }
}

QWidget* WirePanels::Host() const {
    return host_;
}

QDockWidget* WirePanels::AddDock(QWidget* view, const QString& title, const char* name) {
    auto* dock = new QDockWidget(title, host_);
    dock->setObjectName(name);
    dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                      QDockWidget::DockWidgetFloatable);
    dock->setAllowedAreas(Qt::BottomDockWidgetArea);
    dock->setWidget(view);
    host_->addDockWidget(Qt::BottomDockWidgetArea, dock);
    dock->hide();
    connect(dock, &QDockWidget::topLevelChanged, this, [this] { UpdateHost(); });
    return dock;
}

QPushButton* WirePanels::AddToggle(QDockWidget* dock, const QString& text, const char* name,
                                   int key) {
    auto* button = new QPushButton(text, buttons_);
    button->setObjectName(name);
    button->setCheckable(true);
    button->setAutoDefault(false);
    buttons_->layout()->addWidget(button);
    connect(button, &QPushButton::toggled, this, [this, dock](bool on) {
        dock->setVisible(on);
        UpdateHost();
    });
    // The dock's own close button, or floating and closing it as a window.
    connect(dock, &QDockWidget::visibilityChanged, this, [this, dock, button] {
        button->setChecked(!dock->isHidden());
        UpdateHost();
    });
    auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | key), buttons_->parentWidget());
    connect(shortcut, &QShortcut::activated, button, &QPushButton::toggle);
    button->setToolTip(shortcut->key().toString(QKeySequence::NativeText));
    return button;
}

void WirePanels::ShowTraffic(bool on) {
    buttons_->findChild<QPushButton*>("trafficToggle")->setChecked(on);
}

void WirePanels::ShowTrend(bool on) {
    if (auto* b = buttons_->findChild<QPushButton*>("trendToggle")) b->setChecked(on);
}

void WirePanels::UpdateHost() {
    bool docked = false;
    for (QDockWidget* dock : {trafficDock_, trendDock_})
        if (dock && !dock->isHidden() && !dock->isFloating()) docked = true;
    if (host_->isHidden() == docked) host_->setVisible(docked);
}

}  // namespace ui
