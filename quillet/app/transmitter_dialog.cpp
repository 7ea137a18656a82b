#include "transmitter_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "about_box.h"
#include "address_commands.h"
#include "diagnosis_runner.h"
#include "dialog_text.h"
#include "lcd_control_dialog.h"
#include "light_threshold_dialog.h"
#include "message_box.h"
#include "parameter_commands.h"
#include "port_messages.h"
#include "port_selector.h"
#include "return_key.h"
#include "scroll_window.h"
#include "status_line.h"
#include "traffic_view.h"
#include "value_log.h"
#include "wire_panels.h"
#include "wireless_dialog.h"

// Resources of a static library register only when asked to, outside any namespace.
static void InitQuilletResources() {
    Q_INIT_RESOURCE(quillet);
}

namespace quillet {
TransmitterDialog::TransmitterDialog(const std::vector<transport::PortEntry>& ports,
                                     const std::string& select, QWidget* parent)
    : QDialog(parent), busy_(this), log_(std::make_unique<ui::ValueLog>()) {
    InitQuilletResources();
    setWindowTitle(QStringLiteral("QuilletV2.1"));
    const QIcon icon(QStringLiteral(":/quillet/quillet.png"));
    setWindowIcon(icon);
    ui::InstallAboutBox(
        this, {Tr("关于 Quillet(&A)..."), Tr("关于 Quillet"), Tr("Quillet 2.1版"), {}}, icon);
    BuildLayout();
    ui::KeepReturnInFields(this);
    ui::ScrollWhenSmall(this);
    for (const transport::PortEntry& port : ports)
        ports_->addItem(QString::fromStdString(port.Label()), QString::fromStdString(port.path));
    const int chosen = ports_->findData(QString::fromStdString(select));
    ports_->setCurrentIndex(chosen >= 0 ? chosen : ports.empty() ? -1 : 0);
    OpenAtStart();
    // Every command waits for a successful scan.
    EnableCommands(false);
    busy_.Start();
    // A command on a line that went away says so in the status line as soon as it returns.
    for (QPushButton* b : findChildren<QPushButton*>())
        connect(b, &QPushButton::clicked, status_, &ui::StatusLine::Check);
}

// The link's destructor joins the reader thread before the dialog's state goes away.
TransmitterDialog::~TransmitterDialog() = default;

QGridLayout* TransmitterDialog::AddGroup(QLayout* parent) {
    auto* box = new QGroupBox;
    auto* grid = new QGridLayout(box);
    grid->setColumnStretch(1, 1);
    parent->addWidget(box);
    return grid;
}

void TransmitterDialog::BuildLayout() {
    auto* outer = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    ports_ = new ui::PortSelector;
    ports_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    ports_->SetPortOpen([this] { return link_.IsOpen(); });
    top->addWidget(ports_, 1);
    top->addWidget(Button("测试波特率", 1001));
    QPushButton* diagnose = Button("诊断", 0);
    diagnose->setObjectName("diagnose");
    top->addWidget(diagnose);
    connect(diagnose, &QPushButton::clicked, this, [this] { Diagnose(); });
    outer->addLayout(top);

    // Two columns (device and live values, then parameters and the dialog buttons): in one,
    // the window is taller than a 768-pixel screen and its last lines fall off it.
    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    outer->addLayout(columns);

    QGridLayout* device = AddGroup(left);
    const struct {
        const char* label;
        int edit, query, set;
    } deviceRows[] = {{QT_TRANSLATE_NOOP("Quillet", "设备地址："), 1012, 1007, 1003},
                      {QT_TRANSLATE_NOOP("Quillet", "设备波特率："), 1013, 1008, 1004}};
    int row = 0;
    for (const auto& r : deviceRows) {
        device->addWidget(new QLabel(Tr(r.label)), row, 0, Qt::AlignRight);
        auto* edit = new QLineEdit;
        edit->setObjectName(QString::number(r.edit));
        device->addWidget(edit, row, 1);
        for (auto [text, id, column] : {std::tuple{"查询", r.query, 2}, {"设置", r.set, 3}}) {
            QPushButton* button = Button(text, id);
            device->addWidget(button, row, column);
            commands_.push_back(button);
        }
        ++row;
    }

    QGridLayout* live = AddGroup(left);
    left->addStretch(1);
    QGridLayout* parameters = AddGroup(right);
    parameters_ = std::make_unique<ParameterCommands>(*this, live, parameters, &commands_);
    // The live and parameter groups line up their columns with the device group; the
    // fields keep room for their values however narrow the window is.
    for (QGridLayout* grid : {device, live, parameters}) {
        grid->setColumnMinimumWidth(0, 130);
        grid->setColumnMinimumWidth(1, 100);
    }

    QGridLayout* doors = AddGroup(right);
    const struct {
        const char* label;
        const char* button;
        int id;
    } doorRows[] = {
        {QT_TRANSLATE_NOOP("Quillet", "液晶控制模式："),
         QT_TRANSLATE_NOOP("Quillet", "液晶控制模式设置"), 1052},
        {QT_TRANSLATE_NOOP("Quillet", "无线温湿度变送器参数设置："),
         QT_TRANSLATE_NOOP("Quillet", "无线参数设置"), 1038},
    };
    row = 0;
    for (const auto& d : doorRows) {
        doors->addWidget(new QLabel(Tr(d.label)), row, 0, Qt::AlignRight);
        QPushButton* button = Button(d.button, d.id);
        doors->addWidget(button, row, 1);
        commands_.push_back(button);
        ++row;
    }
    connect(findChild<QPushButton*>("1038"), &QPushButton::clicked, this,
            [this] { ConfigureWireless(); });
    // The two small dialogs are built anew on every opening, so their start-up runs each time.
    connect(findChild<QPushButton*>("1052"), &QPushButton::clicked, this, [this] {
        LcdControlDialog lcd(client_, busy_, this);
        lcd.exec();
    });
    connect(findChild<QPushButton*>("1069"), &QPushButton::clicked, this, [this] {
        LightThresholdDialog light(client_, busy_, this);
        light.exec();
    });

    note_ = new QLabel;
    note_->setObjectName("note");
    note_->setWordWrap(true);
    note_->hide();
    outer->addWidget(note_);
    panels_ = new ui::WirePanels(link_, this, false);
    outer->addWidget(panels_->Host());
    // In broadcast mode a register reply may also come from the address the device reported.
    const auto context = [this] {
        protocol::ReplyContext c;
        if (client_.Broadcast()) c.alsoFrom = client_.Block().address;
        return c;
    };
    panels_->Traffic().SetContext(context);
    status_ = new ui::StatusLine([this] { return link_.Lost(); });
    status_->Watch(
        &link_,
        [this] {
            return ui::DeviceFacts{address_ && address_->Found(), client_.Address(),
                                   client_.Broadcast() ? protocol::Addressing::Broadcast
                                                       : protocol::Addressing::Frame};
        },
        context);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(status_, 1);
    bottom->addWidget(panels_->Buttons());
    outer->addLayout(bottom);

    address_ = std::make_unique<AddressCommands>(*this);
}

bool TransmitterDialog::StartLog(const QString& path, QString* error) {
    return log_->Open(path, error);
}

void TransmitterDialog::Diagnose() {
    EnableCommands(false);
    ui::RunDiagnosis(this, link_, SelectedPath(), *status_);
    // The port was re-opened at other rates: the device must be found again by a scan.
    client_.SetBroadcast(false);
    address_->Forget();
    status_->Check();
}

void TransmitterDialog::SetNote(const QString& text) {
    note_->setText(text);
    note_->setVisible(!text.isEmpty());
}

std::string TransmitterDialog::SelectedPath() const {
    return ports_->SelectedPath();
}

void TransmitterDialog::EnableCommands(bool on) {
    for (QPushButton* button : commands_) button->setEnabled(on);
}

void TransmitterDialog::OpenAtStart() {
    // The network ports used before are listed after the local ones, the selection kept.
    ports_->RememberRemotePorts(QStringLiteral("quillet"));
    if (link_.Reopen(SelectedPath(), kStartBaud)) {
        ports_->Used(SelectedPath());
        return;
    }
    ui::Message(this, ui::OpenFailedText(link_.Port().LastOpenError()), Tr("串口提示"),
                ui::BoxIcon::Stop);
}

void TransmitterDialog::ConfigureWireless() {
    EnableCommands(false);
    // Each of the two long waits blocks the window for up to 6 s; the status line says why.
    status_->Progress(Tr("正在进入配置模式…"));
    const bool entered = client_.EnterConfigMode(&gateway_);
    status_->EndProgress();
    if (entered) {
        {
            // Built anew on every opening, so its start-up runs each time.
            WirelessDialog wireless(client_, gateway_, this);
            wireless.exec();
        }
        status_->Progress(Tr("正在退出配置模式…"));
        const bool left = client_.ExitConfigMode();
        status_->EndProgress();
        if (!left)
            ui::Message(this, Tr("退出配置模式失败，请给设备重新上电"), Tr("警告"),
                        ui::BoxIcon::Question);
    } else {
        ui::Message(this, Tr("无线设备进入配置模式失败，请检查连接"), Tr("警告"),
                    ui::BoxIcon::Question);
    }
    EnableCommands(true);
}

}  // namespace quillet
