#include "status_line.h"

#include <QHBoxLayout>

#include "traffic_text.h"

namespace ui {
namespace {

constexpr const char* kFieldNames[] = {"statusDemo", "statusPort",   "statusBaud", "statusAddress",
                                       "statusMode", "statusResult", "statusAge"};

// A reply to this request brings a reading (not the confirmation of a write).
bool IsRead(protocol::FrameKind kind, std::uint8_t gatewayMode) {
    using protocol::FrameKind;
    switch (kind) {
        case FrameKind::ReadRegisters:
        case FrameKind::CommBlockRead:
        case FrameKind::AddressQuery:
        case FrameKind::ParameterRead:
        case FrameKind::ReadClimate:
        case FrameKind::EnterConfigMode:
            return true;
        case FrameKind::SleepTime:
        case FrameKind::Channel:
        case FrameKind::RelayParameters:
            return gatewayMode == 0;
        default:
            return false;
    }
}

}  // namespace

StatusLine::StatusLine(std::function<bool()> lost, QWidget* parent)
    : QLabel(parent), lost_(std::move(lost)) {
    setObjectName("status");
    // One line's height even while empty, so the window does not jump when a text comes.
    setMinimumHeight(fontMetrics().height());
    // The fields sit at the right, over the label's own room; the label's text stays left.
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(1);
    fields_ = new QWidget(this);
    auto* fieldRow = new QHBoxLayout(fields_);
    fieldRow->setContentsMargins(0, 0, 0, 0);
    fieldRow->setSpacing(12);
    for (const char* name : kFieldNames) {
        auto* field = new QLabel(fields_);
        field->setObjectName(name);
        field->hide();
        fieldRow->addWidget(field);
    }
    row->addWidget(fields_);
    timer_.setInterval(kCheckMs);
    connect(&timer_, &QTimer::timeout, this, [this] { Check(); });
    timer_.start();
}

QLabel* StatusLine::Field(const char* name) const {
    return fields_->findChild<QLabel*>(name);
}

QSize StatusLine::sizeHint() const {
    const QSize own = QLabel::sizeHint();
    const QSize fields = fields_->sizeHint();
    return {own.width() + 24 + fields.width(), std::max(own.height(), fields.height())};
}

QSize StatusLine::minimumSizeHint() const {
    const QSize own = QLabel::minimumSizeHint();
    return {own.width(), std::max(own.height(), fields_->minimumSizeHint().height())};
}

void StatusLine::Watch(transport::SerialLink* link, std::function<DeviceFacts()> device,
                       std::function<protocol::ReplyContext()> context) {
    link_ = link;
    device_ = std::move(device);
    context_ = std::move(context);
    seen_ = link_ ? link_->Tap().LastSequence() : 0;
    UpdateFields();
}

void StatusLine::SetDemo(const QString& name) {
    QLabel* demo = Field("statusDemo");
    demo->setText(tr("演示：%1").arg(name));
    demo->setVisible(!name.isEmpty());
}

void StatusLine::Check() {
    const QString lostText = tr("串口已断开");
    if (lost_ && lost_()) {
        if (text() != lostText) setText(lostText);
    } else if (text() == lostText) {
        clear();
    }
    UpdateFields();
}

void StatusLine::Progress(const QString& text) {
    setText(text);
    repaint();
}

void StatusLine::Probing(std::uint32_t baud) {
    // Naming a rate the program did not set would be a guess.
    Progress(baud == 0 ? tr("正在测试网络串口…") : tr("正在测试 %1 波特率…").arg(baud));
}

void StatusLine::EndProgress() {
    clear();
    Check();
}

void StatusLine::Hint(const QString& text) {
    setText(text);
    Check();
}

void StatusLine::ReadTap() {
    const std::vector<transport::TrafficRecord> records = link_->Tap().Since(seen_);
    if (records.empty()) return;
    seen_ = records.back().sequence;
    if (context_) decoder_.SetContext(context_());
    for (const transport::TrafficRecord& r : records) {
        const protocol::FrameDescription d = decoder_.Describe(r);
        switch (d.direction) {
            case protocol::Direction::Request:
                requestKind_ = d.kind;
                requestMode_ = d.gateway.mode;
                break;
            case protocol::Direction::Reply:
                lastVerdict_ = d.verdict;
                lastException_ = d.exception;
                if (d.verdict == protocol::Verdict::Ok && IsRead(requestKind_, requestMode_))
                    lastReadingMs_ = r.timeMs;
                break;
            case protocol::Direction::NoReply:
                lastVerdict_ = protocol::Verdict::NoReply;
                break;
            case protocol::Direction::Discarded:
                break;
        }
    }
}

void StatusLine::UpdateFields() {
    if (!link_) return;
    ReadTap();
    const auto set = [this](const char* name, const QString& text) {
        QLabel* field = Field(name);
        if (field->text() != text) field->setText(text);
        field->setVisible(!text.isEmpty());
    };
    const bool open = link_->IsOpen();
    const std::string& path = link_->Port().Path();
    set("statusPort", QString::fromStdString(path));
    set("statusBaud", open ? tr("%1 波特").arg(link_->Port().Baud()) : tr("未打开"));
    const DeviceFacts device = device_ ? device_() : DeviceFacts{};
    set("statusAddress", device.found ? tr("地址 %1").arg(device.address) : tr("未找到设备"));
    set("statusMode", device.found ? TrafficText::ModeText(device.mode) : QString());
    set("statusResult",
        lastVerdict_ == protocol::Verdict::None
            ? QString()
            : tr("上次：%1").arg(TrafficText::VerdictText(lastVerdict_, lastException_)));
    QString age;
    if (lastReadingMs_) {
        const std::int64_t seconds = (transport::TrafficTap::NowMs() - *lastReadingMs_) / 1000;
        age = seconds < 1 ? tr("读数：刚刚") : tr("读数：%1 秒前").arg(seconds);
    }
    set("statusAge", age);
}

}  // namespace ui
