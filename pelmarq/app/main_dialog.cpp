#include "main_dialog.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "about_box.h"
#include "categories.h"
#include "device_page.h"
#include "device_places.h"
#include "message_box.h"
#include "port_selector.h"
#include "return_key.h"
#include "scroll_window.h"
#include "status_line.h"

namespace app {

MainDialog::MainDialog(const std::vector<PortChoice>& ports, const std::string& select,
                       const QString& note, QWidget* parent)
    : QDialog(parent) {
    ui::SetDefaultCaption(QStringLiteral("Pelmarq"));
    BuildUi(ports, select, note);
    ui::KeepReturnInFields(this);
    ui::ScrollWhenSmall(this);
    EnableCommands(false);
    busyTimer_.setInterval(300);
    connect(&busyTimer_, &QTimer::timeout, this, [this] { busy_ = false; });
    busyTimer_.start();
    realtimeTimer_.setInterval(1000);
    connect(&realtimeTimer_, &QTimer::timeout, this, [this] { RealtimeTick(); });
    realtimeTimer_.start();
    // A command on a line that went away says so in the status line as soon as it returns.
    for (QPushButton* b : findChildren<QPushButton*>())
        connect(b, &QPushButton::clicked, status_, &ui::StatusLine::Check);
}

MainDialog::~MainDialog() = default;

void MainDialog::BuildUi(const std::vector<PortChoice>& ports, const std::string& select,
                         const QString& note) {
    pages::InitResources();
    setWindowTitle(QStringLiteral("PelmarqV3.6"));
    const QIcon icon(QStringLiteral(":/pelmarq/pelmarq.png"));
    setWindowIcon(icon);
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);
    ui::InstallAboutBox(this,
                        {tr("关于 Pelmarq(&A)..."), tr("关于Pelmarq"),
                         QStringLiteral("PelmarqV3.6"), tr("RS-485 现场传感器配置工具")},
                        icon);

    auto* layout = new QVBoxLayout(this);
    auto* outer = new QGroupBox(this);
    auto* top = new QHBoxLayout(outer);
    // A slim frame around the port, address and baud groups leaves the pages the height of a
    // 1024x768 screen with a panel, the demo's line included.
    top->setContentsMargins(6, 2, 6, 2);

    auto* portGroup = new QGroupBox(tr("串口号"), outer);
    auto* portRow = new QHBoxLayout(portGroup);
    ports_ = new ui::PortSelector(portGroup);
    ports_->setMinimumWidth(140);
    ports_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (const PortChoice& p : ports)
        ports_->addItem(QString::fromStdString(p.label), QString::fromStdString(p.path));
    // An empty list stays usable: a path can be typed, and a plugged adapter shows up.
    if (!ports.empty())
        ports_->setCurrentIndex(std::max(ports_->findData(QString::fromStdString(select)), 0));
    ports_->SetPortOpen([this] { return link_.IsOpen(); });
    scan_ = new QPushButton(tr("测试波特率"), portGroup);
    scan_->setObjectName("1001");
    portRow->addWidget(ports_, 1);
    portRow->addWidget(scan_);
    top->addWidget(portGroup, 1);

    auto makeGroup = [&](const QString& title, const char* editId, const char* queryId,
                         const char* setId, QLineEdit** edit, QPushButton** query,
                         QPushButton** set) {
        auto* group = new QGroupBox(title, outer);
        auto* row = new QHBoxLayout(group);
        *edit = new QLineEdit(group);
        (*edit)->setObjectName(editId);
        (*edit)->setMaximumWidth(90);
        *query = new QPushButton(tr("查询"), group);
        (*query)->setObjectName(queryId);
        *set = new QPushButton(tr("设置"), group);
        (*set)->setObjectName(setId);
        row->addWidget(*edit);
        row->addWidget(*query);
        row->addWidget(*set);
        top->addWidget(group);
    };
    makeGroup(tr("设备地址"), "1002", "1004", "1005", &address_, &commands_[0], &commands_[1]);
    makeGroup(tr("设备波特率"), "1003", "1006", "1007", &baud_, &commands_[2], &commands_[3]);
    layout->addWidget(outer);

    auto* noteLine = new QLabel(note, this);
    noteLine->setObjectName("note");
    noteLine->setWordWrap(true);
    noteLine->setVisible(!note.isEmpty());
    layout->addWidget(noteLine);

    categories_ = new QTabWidget(this);
    categories_->setObjectName("1008");
    for (const pages::Category& c : pages::Categories()) {
        QWidget* page = c.tabs.empty()
                            ? c.page(link_, categories_)
                            : new pages::CategoryContainer(link_, c.tabId, c.tabs, categories_);
        categories_->addTab(page, tr(c.title));
    }
    categories_->setCurrentIndex(0);
    layout->addWidget(categories_, 1);
    status_ = new ui::StatusLine([this] { return link_.Lost(); }, this);
    layout->addWidget(status_);
    resize(900, 680);

    connect(scan_, &QPushButton::clicked, this, [this] { Scan(); });
    connect(commands_[0], &QPushButton::clicked, this, [this] { Query(); });
    connect(commands_[2], &QPushButton::clicked, this, [this] { Query(); });
    connect(commands_[1], &QPushButton::clicked, this, [this] { SetAddress(); });
    connect(commands_[3], &QPushButton::clicked, this, [this] { SetBaud(); });
}

void MainDialog::EnablePortControls(bool on) {
    ports_->setEnabled(on);
    scan_->setEnabled(on);
}

void MainDialog::EnableCommands(bool on) {
    for (QPushButton* b : commands_) b->setEnabled(on);
}

std::string MainDialog::SelectedPortPath() const {
    return ports_->SelectedPath();
}

std::size_t MainDialog::Exchange(const protocol::Frame& request) {
    return link_.Exchange(request.data(), request.size, reply_, sizeof reply_);
}

bool MainDialog::Accepted(bool ok) {
    if (ok) link_.ReplyAccepted();
    return ok;
}

pages::DevicePage* MainDialog::SelectedPage() const {
    QWidget* category = categories_->currentWidget();
    if (auto* container = qobject_cast<pages::CategoryContainer*>(category))
        return container->CurrentPage();
    return qobject_cast<pages::DevicePage*>(category);
}

bool MainDialog::ShowPageOf(std::string_view device) {
    const pages::DevicePlace* place = pages::PlaceOf(device);
    if (!place) return false;
    const std::vector<pages::Category>& categories = pages::Categories();
    for (int c = 0; c < static_cast<int>(categories.size()); ++c) {
        const pages::Category& category = categories[static_cast<std::size_t>(c)];
        if (std::string_view(category.title) != place->category) continue;
        auto* container = qobject_cast<pages::CategoryContainer*>(categories_->widget(c));
        int tab = -1;
        for (int t = 0; place->tab && t < static_cast<int>(category.tabs.size()); ++t)
            if (std::string_view(category.tabs[static_cast<std::size_t>(t)].title) == place->tab)
                tab = t;
        // A page of its own has no sub-tab to name; a container's page needs one.
        if (container ? tab < 0 : place->tab != nullptr) return false;
        if (container) container->Tabs()->setCurrentIndex(tab);
        categories_->setCurrentIndex(c);
        if (place->type)
            SelectedPage()->ChooseSensorType(QCoreApplication::translate("pages", place->type));
        return true;
    }
    return false;
}

void MainDialog::RealtimeTick() {
    pages::DevicePage* page = SelectedPage();
    if (page && page->HasPoll() && page->RealtimeChecked()) page->Poll();
    status_->Check();
}

}  // namespace app
