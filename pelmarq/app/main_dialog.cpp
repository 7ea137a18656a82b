#include "main_dialog.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileDialog>
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
#include "diagnosis_runner.h"
#include "message_box.h"
#include "port_selector.h"
#include "return_key.h"
#include "scroll_window.h"
#include "status_line.h"
#include "trend_view.h"
#include "value_log.h"
#include "wire_panels.h"

namespace app {

MainDialog::MainDialog(const std::vector<PortChoice>& ports, const std::string& select,
                       const QString& note, QWidget* parent)
    : QDialog(parent), log_(std::make_unique<ui::ValueLog>()) {
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
    // Tight rows: with the status row's buttons the window still fits 1000x680.
    layout->setSpacing(4);
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
    ports_->RememberRemotePorts(QStringLiteral("pelmarq"));
    scan_ = new QPushButton(tr("测试波特率"), portGroup);
    scan_->setObjectName("1001");
    diagnose_ = new QPushButton(tr("诊断"), portGroup);
    diagnose_->setObjectName("diagnose");
    portRow->addWidget(ports_, 1);
    portRow->addWidget(scan_);
    portRow->addWidget(diagnose_);
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
    panels_ = new ui::WirePanels(link_, this, true);
    layout->addWidget(panels_->Host());
    status_ = new ui::StatusLine([this] { return link_.Lost(); }, this);
    status_->Watch(&link_, [this] {
        // In a comm block mode the link talks to 0xFF or 0; the device's own address is shown.
        const bool fixed = found_.mode != device::Addressing::Frame;
        return ui::DeviceFacts{deviceFound_, fixed ? found_.address : link_.DeviceAddress(),
                               found_.mode};
    });
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(status_, 1);
    logButton_ = new QPushButton(tr("记录数据…"), this);
    logButton_->setObjectName("logToggle");
    logButton_->setCheckable(true);
    logButton_->setAutoDefault(false);
    bottom->addWidget(logButton_);
    bottom->addWidget(panels_->Buttons());
    layout->addLayout(bottom);
    resize(900, 680);

    connect(scan_, &QPushButton::clicked, this, [this] { Scan(); });
    connect(diagnose_, &QPushButton::clicked, this, [this] { Diagnose(); });
    connect(logButton_, &QPushButton::clicked, this, [this](bool on) { LogClicked(on); });
    connect(commands_[0], &QPushButton::clicked, this, [this] { Query(); });
    connect(commands_[2], &QPushButton::clicked, this, [this] { Query(); });
    connect(commands_[1], &QPushButton::clicked, this, [this] { SetAddress(); });
    connect(commands_[3], &QPushButton::clicked, this, [this] { SetBaud(); });
}

void MainDialog::EnablePortControls(bool on) {
    ports_->setEnabled(on);
    scan_->setEnabled(on);
    diagnose_->setEnabled(on);
}

void MainDialog::EnableCommands(bool on) {
    for (QPushButton* b : commands_) b->setEnabled(on);
}

std::string MainDialog::SelectedPortPath() const {
    return ports_->SelectedPath();
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
    if (page && page->HasPoll() && page->RealtimeChecked()) {
        page->Poll();
        const ui::Readings readings = page->PolledValues();
        const QString name = PageName();
        panels_->Trend()->Add(transport::TrafficTap::NowMs(), name, readings);
        if (log_->IsOpen()) log_->Append(QDateTime::currentDateTime(), name, readings);
    }
    status_->Check();
}

QString MainDialog::PageName() const {
    QString name = categories_->tabText(categories_->currentIndex());
    if (auto* container = qobject_cast<pages::CategoryContainer*>(categories_->currentWidget()))
        name +=
            QStringLiteral(" / ") + container->Tabs()->tabText(container->Tabs()->currentIndex());
    return name;
}

bool MainDialog::StartLog(const QString& path, QString* error) {
    const bool ok = log_->Open(path, error);
    logButton_->setChecked(ok);
    logButton_->setToolTip(ok ? path : QString());
    return ok;
}

void MainDialog::StopLog() {
    log_->Close();
    logButton_->setChecked(false);
    logButton_->setToolTip(QString());
}

void MainDialog::LogClicked(bool on) {
    if (!on) return StopLog();
    const QString path = QFileDialog::getSaveFileName(this, tr("记录数据到 CSV 文件"), QString(),
                                                      tr("CSV 文件 (*.csv)"), nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    QString error;
    if (path.isEmpty()) {
        logButton_->setChecked(false);
    } else if (!StartLog(path, &error)) {
        ui::Message(this, tr("无法写入文件 %1：%2").arg(path, error), tr("警告"),
                    ui::BoxIcon::Warning);
    }
}

void MainDialog::Diagnose() {
    EnablePortControls(false);
    ui::RunDiagnosis(this, link_, SelectedPortPath(), *status_);
    // The diagnosis re-opened the port at other rates: whatever a scan found before must be
    // found again.
    deviceFound_ = false;
    found_.mode = device::Addressing::Frame;
    EnableCommands(false);
    EnablePortControls(true);
    status_->Check();
}

}  // namespace app
