#include "device_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstring>

#include "entry_text.h"
#include "field_format.h"
#include "message_box.h"

namespace pages {
namespace {

QString Tr(const char* text) {
    return QCoreApplication::translate("pages", text);
}

QString ObjectName(int id, const std::string& caption, const char* role) {
    return QString::fromStdString(ControlName(id, caption, role));
}

}  // namespace

DevicePage::DevicePage(transport::SerialLink& link, PageSpec spec, QWidget* parent)
    : QWidget(parent), link_(link), spec_(std::move(spec)), client_(link), fields_(this, client_) {
    Build();
    UpdateEnabled();
}

void DevicePage::Build() {
    auto* page = new QVBoxLayout(this);
    auto* outer = new QHBoxLayout;
    if (spec_.centered) {
        page->addStretch(1);
        outer->addStretch(1);
    }
    page->addLayout(outer);
    if (spec_.centered) page->addStretch(2);
    auto* boxes = new QGridLayout;
    outer->addLayout(boxes);
    int columns = 1;
    for (const Row& r : spec_.rows) columns = std::max(columns, r.column + 1);
    columns = std::max(columns, spec_.realtime.column + 1);
    const int perLine = spec_.columnsPerLine > 0 ? spec_.columnsPerLine : columns;

    std::vector<QGridLayout*> grids;
    for (int c = 0; c < columns; ++c) {
        const char* title =
            c < static_cast<int>(spec_.columnTitles.size()) ? spec_.columnTitles[c] : "";
        QWidget* box = (title && *title) ? new QGroupBox(Tr(title), this) : new QWidget(this);
        auto* v = new QVBoxLayout(box);
        auto* grid = new QGridLayout;
        grid->setHorizontalSpacing(6);
        v->addLayout(grid);
        auto* extras = new QVBoxLayout;
        v->addLayout(extras);
        v->addStretch(1);
        boxes->addWidget(box, c / perLine, c % perLine, Qt::AlignTop | Qt::AlignLeft);
        grids.push_back(grid);
        columnExtras_.push_back(extras);
    }
    boxes->setRowStretch((columns - 1) / perLine + 1, 1);  // lines keep to the top

    if (spec_.sensorType) {
        auto* label = new QLabel(Tr("传感器类型"), this);
        sensorType_ = new QComboBox(this);
        sensorType_->setObjectName(spec_.sensorTypeId ? QString::number(spec_.sensorTypeId)
                                                      : QStringLiteral("传感器类型:combo"));
        sensorType_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        grids[0]->addWidget(label, 0, 0);
        grids[0]->addWidget(sensorType_, 0, 1, 1, 4);
        connect(sensorType_, &QComboBox::activated, this, [this] { SensorTypeSelected(); });
    }

    auto addRealtime = [this, &grids] {
        realtime_ = new QCheckBox(Tr(spec_.realtime.text), this);
        realtime_->setObjectName(spec_.realtime.id ? QString::number(spec_.realtime.id)
                                                   : QString::fromUtf8(spec_.realtime.text));
        QGridLayout* grid = grids[spec_.realtime.column];
        grid->addWidget(realtime_, grid->rowCount(), 3, 1, 2);
        connect(realtime_, &QCheckBox::clicked, this, [this] { RealtimeClicked(); });
    };

    // Controls are named by the table's own captions, whatever language the page shows.
    const std::vector<std::string> captions = RowCaptions(spec_);
    rows_.resize(spec_.rows.size());
    for (std::size_t i = 0; i < spec_.rows.size(); ++i) {
        const Row& r = spec_.rows[i];
        RowControls& c = rows_[i];
        const std::string& name = captions[i];

        QGridLayout* grid = grids[r.column];
        const int line = grid->rowCount();
        c.label = new QLabel(Tr(r.label), this);
        grid->addWidget(c.label, line, 0);
        QWidget* value = nullptr;
        if (r.encoding == Encoding::Choice) {
            c.combo = new QComboBox(this);
            c.combo->setObjectName(ObjectName(r.edit, name, "combo"));
            for (const char* item : r.items) c.combo->addItem(Tr(item));
            // Qt selects the first item added; the list starts without a selection.
            c.combo->setCurrentIndex(-1);
            value = c.combo;
        } else if (!(r.flags & kNoEdit)) {
            c.edit = new QLineEdit(this);
            c.edit->setObjectName(ObjectName(r.edit, name, "edit"));
            c.edit->setMinimumWidth(80);
            c.edit->setMaximumWidth(120);
            c.edit->setReadOnly(spec_.readOnly);
            value = c.edit;
        }
        if (value) grid->addWidget(value, line, 1);
        if (r.unit && *r.unit) {
            c.unit = new QLabel(Tr(r.unit), this);
            grid->addWidget(c.unit, line, 2);
        }
        if ((r.access == Access::Read || r.access == Access::ReadWrite) && !(r.flags & kFollows)) {
            c.query = new QPushButton(Tr(spec_.queryText), this);
            c.query->setObjectName(ObjectName(r.query, name, "query"));
            grid->addWidget(c.query, line, 3);
            const bool showErrors = !(r.flags & kQuietQuery);
            if (!(r.flags & kInert))
                connect(c.query, &QPushButton::clicked, this,
                        [this, i, showErrors] { ReadWithFollowers(i, showErrors); });
        }
        if ((r.access == Access::Write || r.access == Access::ReadWrite) && !(r.flags & kFollows)) {
            c.set = new QPushButton(Tr(spec_.setText), this);
            c.set->setObjectName(ObjectName(r.set, name, "set"));
            grid->addWidget(c.set, line, 4);
            if (!(r.flags & kInert))
                connect(c.set, &QPushButton::clicked, this, [this, i] { WriteRow(i); });
        }
        if (r.flags & kHidden) {
            for (QWidget* w : {value, static_cast<QWidget*>(c.label), static_cast<QWidget*>(c.unit),
                               static_cast<QWidget*>(c.query), static_cast<QWidget*>(c.set)})
                if (w) w->hide();
        }
        if (spec_.realtime.text && spec_.realtime.afterRow == static_cast<int>(i)) addRealtime();
    }

    if (spec_.realtime.text && !realtime_) addRealtime();

    if (!spec_.notes.empty()) {
        auto* side = new QWidget(this);
        auto* notes = new QVBoxLayout(side);
        for (const char* note : spec_.notes) {
            auto* label = new QLabel(Tr(note), side);
            label->setWordWrap(true);
            notes->addWidget(label);
        }
        notes->addStretch(1);
        outer->addWidget(side, 1, Qt::AlignTop);
    } else {
        outer->addStretch(1);
    }
}

QVBoxLayout* DevicePage::ColumnExtras(int column) {
    return columnExtras_.at(column);
}

bool DevicePage::RealtimeChecked() const {
    return realtime_ && realtime_->isChecked();
}

void DevicePage::SetSensorTypes(const QStringList& items, int defaultIndex) {
    if (!sensorType_) return;
    sensorType_->clear();
    sensorType_->addItems(items);
    sensorType_->setCurrentIndex(defaultIndex);
    SensorTypeSelected();
}

bool DevicePage::ChooseSensorType(const QString& text) {
    const int index = sensorType_ ? sensorType_->findText(text) : -1;
    if (index < 0) return false;
    sensorType_->setCurrentIndex(index);
    SensorTypeSelected();
    return true;
}

QString DevicePage::SensorTypeText() const {
    return sensorType_ ? sensorType_->currentText() : QString();
}

bool DevicePage::TypeHasTempHumidity() const {
    return !sensorType_ || !sensorType_->currentText().startsWith(QStringLiteral("单"));
}

RowScale DevicePage::ScaleFor(std::size_t row) const {
    return ScaleOf(spec_.rows[row], EncodingFor(row));
}

QString DevicePage::RowText(std::size_t row, std::uint16_t raw) const {
    return QString::fromStdString(pages::RowText(spec_.rows[row], EncodingFor(row), &raw));
}

protocol::ExchangeStatus DevicePage::ReadChoice(std::size_t row, bool showErrors) {
    const Row& r = spec_.rows[row];
    std::uint16_t raw = 0;
    const protocol::ExchangeStatus status = client_.ReadRegister(r.reg, &raw);
    if (status == protocol::ExchangeStatus::Ok) {
        const int index = static_cast<int>(raw) - r.itemBase;
        QComboBox* combo = rows_[row].combo;
        combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
    } else if (showErrors) {
        fields_.ReadFailureBox(status);
    }
    return status;
}

void DevicePage::WriteChoice(std::size_t row) {
    const Row& r = spec_.rows[row];
    const int index = rows_[row].combo->currentIndex();
    if (index < 0) {
        // No selection has no register value; writing the "none" index would put 0xFFFF
        // (or 0) into the device.
        ui::Message(this, Tr("请先选择要设置的值，未写入设备"), Tr("警告"), ui::BoxIcon::Warning);
        return;
    }
    const auto value = static_cast<std::uint16_t>(index + r.itemBase);
    fields_.WriteResultBox(client_.WriteRegister(r.reg, value),
                           fields::FieldHelpers::SuccessIcon::Information);
}

protocol::ExchangeStatus DevicePage::ReadRow(std::size_t row, bool showErrors) {
    const Row& r = spec_.rows[row];
    QLineEdit* edit = rows_[row].edit;
    switch (EncodingFor(row)) {
        case Encoding::Tenths:
        case Encoding::Hundredths:
        case Encoding::Whole:
        case Encoding::Scaled: {
            const RowScale s = ScaleFor(row);
            return fields_.ShowScaled(edit, r.reg, s.factor, s.decimals, showErrors);
        }
        case Encoding::UInt:
        case Encoding::Bool01:
        case Encoding::UIntTrunc:
            return fields_.ShowUInt(edit, r.reg, showErrors);
        case Encoding::Int:
            return fields_.ShowInt(edit, r.reg, showErrors);
        case Encoding::UInt32:
            return fields_.ShowUInt32(edit, r.reg, showErrors);
        case Encoding::Float:
            return fields_.ShowFloat(edit, r.reg, showErrors, r.decimals ? r.decimals : 6);
        case Encoding::Status: {
            const auto [normal, alarm] = StatusTexts(r);
            return fields_.ShowStatus(edit, r.reg, r.normal, r.alarm, showErrors, normal, alarm);
        }
        case Encoding::Choice:
            return ReadChoice(row, showErrors);
        case Encoding::Version:
            return fields_.ShowVersion(edit, r.reg, showErrors);
    }
    return protocol::ExchangeStatus::NoReply;
}

protocol::ExchangeStatus DevicePage::ReadWithFollowers(std::size_t row, bool showErrors) {
    const protocol::ExchangeStatus status = ReadRow(row, showErrors);
    // A follower is filled from a read of its own: it shows what that read got, or nothing
    // and its own failure box, whatever became of the row above.
    for (std::size_t j = row + 1; j < spec_.rows.size() && (spec_.rows[j].flags & kFollows); ++j)
        ReadRow(j, showErrors);
    return status;
}

void DevicePage::WriteRow(std::size_t row) {
    const Row& r = spec_.rows[row];
    const Encoding encoding = EncodingFor(row);
    QLineEdit* edit = rows_[row].edit;
    if (encoding == Encoding::Choice) {
        WriteChoice(row);
        return;
    }
    const WriteRule rule = WriteRuleOf(r, encoding);
    if (rule.only01) {
        const RowEntry entry = ConvertRowEntry(r, encoding, edit->text().toStdString());
        switch (entry.error) {
            case RowEntryError::None:
                break;
            case RowEntryError::NotZeroOrOne:
                ui::Message(this, Tr("非法输入"), Tr("警告"), ui::BoxIcon::Warning);
                return;
            case RowEntryError::OutOfRange:
                return fields_.EntryRefusedBox(protocol::EntryError::OutOfRange);
            default:
                return fields_.EntryRefusedBox(protocol::EntryError::NotANumber);
        }
        fields_.WriteResultBox(client_.WriteRegister(r.reg, static_cast<std::uint16_t>(entry.bits)),
                               fields::FieldHelpers::SuccessIcon::Information);
        return;
    }
    switch (rule.range) {
        case protocol::EntryRange::Float:
            fields_.WriteFloatField(edit, r.reg);
            return;
        case protocol::EntryRange::Unsigned32:
            fields_.WriteScaledField32(edit, r.reg, rule.multiplier);
            return;
        case protocol::EntryRange::Unsigned16:
            fields_.WriteIntField(edit, r.reg, rule.multiplier);
            return;
        default:
            fields_.WriteScaledField(edit, r.reg, rule.multiplier);
            return;
    }
}

void DevicePage::ClearRow(std::size_t row) {
    if (rows_[row].edit) rows_[row].edit->clear();
    if (rows_[row].combo) rows_[row].combo->setCurrentIndex(-1);
}

DevicePage::PollUnit DevicePage::RowUnit(std::size_t row) {
    return {[this, row] {
                const protocol::ExchangeStatus status = ReadRow(row, false);
                // A poll never leaves an earlier reading in place as if it were live.
                if (status != protocol::ExchangeStatus::Ok) ClearRow(row);
                return status;
            },
            [this, row] { ClearRow(row); }};
}

std::vector<DevicePage::PollUnit> DevicePage::PollUnits() {
    const bool th = TypeHasTempHumidity();
    std::vector<PollUnit> units;
    // One unit per polled row, a follower too: each reading is a request of its own.
    for (std::size_t i = 0; i < spec_.rows.size(); ++i) {
        const Row& r = spec_.rows[i];
        if (!(r.flags & kPolled)) continue;
        if ((r.flags & kTempHumidity) && !th) continue;
        units.push_back(RowUnit(i));
    }
    return units;
}

DevicePage::Outcome DevicePage::Run(const PollUnit& unit) {
    const protocol::ExchangeStatus status = unit.read();
    // A line that went away under the request says nothing about the device.
    if (status == protocol::ExchangeStatus::PortClosed || !link_.IsOpen()) return Outcome::NotSent;
    if (status == protocol::ExchangeStatus::Ok || !link_.LastExchangeSilent())
        return Outcome::Answered;
    return Outcome::Silent;
}

void DevicePage::Poll() {
    const std::vector<PollUnit> units = PollUnits();
    if (units.empty()) return;
    if (silentTurn_ >= 0) {
        const std::size_t turn = static_cast<std::size_t>(silentTurn_) % units.size();
        for (std::size_t i = 0; i < units.size(); ++i)
            if (i != turn) units[i].clear();
        switch (Run(units[turn])) {
            case Outcome::Silent:
                silentTurn_ = static_cast<int>((turn + 1) % units.size());
                break;
            case Outcome::Answered:
                silentTurn_ = -1;  // the next tick asks everything again
                break;
            case Outcome::NotSent:
                break;
        }
        return;
    }
    bool asked = false;
    bool answered = false;
    for (const PollUnit& unit : units) {
        const Outcome outcome = Run(unit);
        asked = asked || outcome != Outcome::NotSent;
        answered = answered || outcome == Outcome::Answered;
    }
    if (asked && !answered) silentTurn_ = 0;
}

ui::Readings DevicePage::PolledValues() const {
    const bool th = TypeHasTempHumidity();
    ui::Readings out;
    for (std::size_t i = 0; i < spec_.rows.size(); ++i) {
        const Row& r = spec_.rows[i];
        if (!(r.flags & kPolled) || (r.flags & kHidden)) continue;
        if ((r.flags & kTempHumidity) && !th) continue;
        const RowControls& c = rows_[i];
        QString label = Tr(r.label);
        while (label.endsWith(QStringLiteral("：")) || label.endsWith(':')) label.chop(1);
        const QString value = c.edit    ? c.edit->text()
                              : c.combo ? c.combo->currentText()
                                        : QString();
        out.push_back({label, r.unit ? Tr(r.unit) : QString(), value});
    }
    return out;
}

void DevicePage::RealtimeClicked() {
    // A box that only switches polling does not ask for the port and disables nothing.
    if (spec_.realtime.mode == RealtimeMode::None) return;
    if (!link_.IsOpen()) {
        realtime_->setChecked(false);
        ui::Message(this, Tr("请先打开串口"), Tr("警告"), ui::BoxIcon::Warning);
    }
    UpdateEnabled();
}

void DevicePage::UpdateEnabled() {
    const bool live = RealtimeChecked();
    const RealtimeMode mode = spec_.realtime.mode;
    const bool th = TypeHasTempHumidity();
    for (std::size_t i = 0; i < spec_.rows.size(); ++i) {
        const Row& r = spec_.rows[i];
        RowControls& c = rows_[i];
        const bool typeOff = (r.flags & kTempHumidity) && !th;
        const bool allOff = live && mode == RealtimeMode::AllButtons && !(r.flags & kKeepEnabled);
        const bool queryOff =
            allOff || (live && mode == RealtimeMode::PolledQueries && (r.flags & kPolled));
        if (c.edit) c.edit->setEnabled(!typeOff);
        if (c.combo) c.combo->setEnabled(!typeOff);
        if (c.query) c.query->setEnabled(!typeOff && !queryOff);
        if (c.set) c.set->setEnabled(!typeOff && !allOff);
    }
    if (sensorType_) sensorType_->setEnabled(!(live && mode == RealtimeMode::PolledQueries));
}

void DevicePage::SensorTypeSelected() {
    if (!TypeHasTempHumidity()) {
        for (std::size_t i = 0; i < spec_.rows.size(); ++i)
            if ((spec_.rows[i].flags & kTempHumidity) && rows_[i].edit)
                rows_[i].edit->setText(QStringLiteral(" "));
    }
    UpdateEnabled();
}

}  // namespace pages
