#include "traffic_view.h"

#include <QApplication>
#include <QBrush>
#include <QClipboard>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>

#include "message_box.h"
#include "traffic_text.h"

namespace ui {

int TrafficModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

int TrafficModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant TrafficModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const TrafficLine& line = Line(index.row());
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        switch (index.column()) {
            case Time:
                return line.time;
            case Direction:
                return line.direction;
            case Hex:
                return line.hex;
            case Text:
                return line.text;
        }
    }
    if (role == Qt::ForegroundRole && line.bad) return QBrush(QColor(0xB0, 0x20, 0x20));
    return {};
}

QVariant TrafficModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case Time:
            return tr("时间");
        case Direction:
            return tr("方向");
        case Hex:
            return tr("数据");
        case Text:
            return tr("含义");
    }
    return {};
}

void TrafficModel::Append(std::vector<TrafficLine> lines) {
    if (lines.empty()) return;
    if (lines.size() > kMaxLines) lines.erase(lines.begin(), lines.end() - kMaxLines);
    const std::size_t overflow =
        lines_.size() + lines.size() > kMaxLines ? lines_.size() + lines.size() - kMaxLines : 0;
    if (overflow) {
        beginRemoveRows({}, 0, static_cast<int>(overflow) - 1);
        lines_.erase(lines_.begin(), lines_.begin() + static_cast<long>(overflow));
        endRemoveRows();
    }
    const int first = static_cast<int>(lines_.size());
    beginInsertRows({}, first, first + static_cast<int>(lines.size()) - 1);
    for (TrafficLine& l : lines) lines_.push_back(std::move(l));
    endInsertRows();
}

void TrafficModel::Clear() {
    beginResetModel();
    lines_.clear();
    endResetModel();
}

TrafficView::TrafficView(transport::SerialLink& link, QWidget* parent)
    : QWidget(parent), link_(link) {
    setObjectName("trafficPanel");
    // The buttons in two short columns beside the lines: docked, the panel then takes only a
    // few lines' height from the window.
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* buttons = new QGridLayout;
    buttons->setSpacing(2);
    int placed = 0;
    const auto button = [&](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        buttons->addWidget(b, placed / 2, placed % 2);
        ++placed;
        return b;
    };
    pause_ = button(tr("暂停"), "trafficPause");
    pause_->setCheckable(true);
    QPushButton* clear = button(tr("清除"), "trafficClear");
    QPushButton* copy = button(tr("复制"), "trafficCopy");
    QPushButton* save = button(tr("保存…"), "trafficSave");
    buttons->setRowStretch(2, 1);
    layout->addLayout(buttons);

    table_ = new QTableView(this);
    table_->setObjectName("traffic");
    table_->setModel(&model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
    table_->horizontalHeader()->setStretchLastSection(true);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    table_->setFont(fixed);
    const QFontMetrics metrics(fixed);
    table_->setColumnWidth(TrafficModel::Time, metrics.horizontalAdvance("00:00:00.000 "));
    table_->setColumnWidth(TrafficModel::Direction, metrics.horizontalAdvance("WWWWW"));
    table_->setColumnWidth(TrafficModel::Hex, metrics.horizontalAdvance(QString(16 * 3, 'F')));
    table_->setMinimumHeight(table_->verticalHeader()->defaultSectionSize() * 3);
    layout->addWidget(table_, 1);

    connect(pause_, &QPushButton::toggled, this, [this](bool on) { SetPaused(on); });
    connect(clear, &QPushButton::clicked, this, [this] { Clear(); });
    connect(copy, &QPushButton::clicked, this, [this] { Copy(); });
    connect(save, &QPushButton::clicked, this, [this] { Save(); });
    timer_.setInterval(kRefreshMs);
    connect(&timer_, &QTimer::timeout, this, [this] { Refresh(); });
}

void TrafficView::Refresh() {
    if (paused_) return;
    const std::vector<transport::TrafficRecord> records = link_.Tap().Since(seen_);
    if (records.empty()) return;
    seen_ = records.back().sequence;
    if (context_) decoder_.SetContext(context_());
    // The tap's clock is monotonic; the view shows the wall clock of each record.
    const qint64 wallNow = QDateTime::currentMSecsSinceEpoch();
    const std::int64_t tapNow = transport::TrafficTap::NowMs();
    std::vector<TrafficLine> lines;
    lines.reserve(records.size());
    for (const transport::TrafficRecord& r : records) {
        const protocol::FrameDescription d = decoder_.Describe(r);
        TrafficLine line;
        line.time = QDateTime::fromMSecsSinceEpoch(wallNow - (tapNow - r.timeMs))
                        .toString(QStringLiteral("HH:mm:ss.zzz"));
        line.direction = TrafficText::DirectionText(d.direction);
        line.hex = TrafficText::Hex(r.Bytes());
        if (r.length > transport::TrafficRecord::kMaxBytes)
            line.hex += tr(" …（共 %1 字节）").arg(r.length);
        const bool answers = request_ && request_->sequence == d.answers;
        line.text = TrafficText::Line(d, answers ? &*request_ : nullptr);
        line.bad =
            d.direction != protocol::Direction::Request && d.verdict != protocol::Verdict::Ok;
        if (d.direction == protocol::Direction::Request) request_ = d;
        lines.push_back(std::move(line));
    }
    QScrollBar* bar = table_->verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    model_.Append(std::move(lines));
    if (atEnd) table_->scrollToBottom();
}

void TrafficView::SetPaused(bool on) {
    paused_ = on;
    if (pause_->isChecked() != on) pause_->setChecked(on);
    pause_->setText(on ? tr("继续") : tr("暂停"));
    if (!on) Refresh();
}

void TrafficView::Clear() {
    model_.Clear();
}

QString TrafficView::Text(bool selectedOnly) const {
    QString out;
    const auto add = [&](int row) {
        const TrafficLine& l = model_.Line(row);
        out += l.time + '\t' + l.direction + '\t' + l.hex + '\t' + l.text + '\n';
    };
    const QModelIndexList selected =
        selectedOnly ? table_->selectionModel()->selectedRows() : QModelIndexList{};
    if (selected.isEmpty()) {
        for (int row = 0; row < model_.rowCount(); ++row) add(row);
    } else {
        QList<int> rows;
        for (const QModelIndex& i : selected) rows << i.row();
        std::sort(rows.begin(), rows.end());
        for (int row : rows) add(row);
    }
    return out;
}

bool TrafficView::SaveTo(const QString& path) const {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) return false;
    return file.write(Text().toUtf8()) >= 0;
}

void TrafficView::Copy() {
    QApplication::clipboard()->setText(Text(true));
}

void TrafficView::Save() {
    const QString path =
        QFileDialog::getSaveFileName(this, tr("保存通信记录"), QString(), tr("文本文件 (*.txt)"));
    if (path.isEmpty()) return;
    if (!SaveTo(path)) Message(this, tr("无法写入文件 %1").arg(path), tr("警告"), BoxIcon::Warning);
}

void TrafficView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Refresh();
    timer_.start();
}

void TrafficView::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    timer_.stop();
}

}  // namespace ui
