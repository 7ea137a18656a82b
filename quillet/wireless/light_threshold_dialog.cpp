#include "light_threshold_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "busy_flag.h"
#include "dialog_text.h"
#include "entry_text.h"
#include "message_box.h"
#include "return_key.h"
#include "scroll_window.h"
#include "transmitter_client.h"

namespace quillet {

const std::vector<LightThresholdDialog::Row>& LightThresholdDialog::Rows() {
    static const std::vector<Row> rows = {
        {1070, QT_TRANSLATE_NOOP("Quillet", "光照度上限值："), 1073, 1074, 13,
         QT_TRANSLATE_NOOP("Quillet", "光照度上限设置"),
         QT_TRANSLATE_NOOP("Quillet", "光照度上限下载成功"),
         QT_TRANSLATE_NOOP("Quillet", "光照度上限下载失败")},
        {1071, QT_TRANSLATE_NOOP("Quillet", "光照度下限值："), 1075, 1076, 14,
         QT_TRANSLATE_NOOP("Quillet", "光照度下限设置"),
         QT_TRANSLATE_NOOP("Quillet", "光照度下限下载成功"),
         QT_TRANSLATE_NOOP("Quillet", "光照度下限下载失败")},
        {1072, QT_TRANSLATE_NOOP("Quillet", "光照度回差值："), 1077, 1078, 15,
         QT_TRANSLATE_NOOP("Quillet", "光照度回差设置"),
         QT_TRANSLATE_NOOP("Quillet", "光照度回差下载成功"),
         QT_TRANSLATE_NOOP("Quillet", "光照度回差下载失败")},
    };
    return rows;
}

LightThresholdDialog::LightThresholdDialog(TransmitterClient& client, BusyFlag& busy,
                                           QWidget* parent)
    : QDialog(parent), client_(client), busy_(busy) {
    setObjectName("144");
    setWindowTitle(Tr("光照度参数设置"));
    auto* grid = new QGridLayout(this);
    grid->setColumnStretch(1, 1);
    int line = 0;
    for (const Row& row : Rows()) {
        grid->addWidget(new QLabel(Tr(row.label)), line, 0, Qt::AlignRight);
        auto* edit = new QLineEdit;
        edit->setObjectName(QString::number(row.edit));
        grid->addWidget(edit, line, 1);
        for (auto [text, id, column] :
             {std::tuple{"读取", row.read, 2}, std::tuple{"设置", row.set, 3}}) {
            QPushButton* button = Button(text, id);
            grid->addWidget(button, line, column);
            connect(button, &QPushButton::clicked, this,
                    [this, &row, read = column == 2] { read ? Read(row) : Write(row); });
        }
        ++line;
    }
    ui::KeepReturnInFields(this);
    ui::ScrollWhenSmall(this);
}

void LightThresholdDialog::Read(const Row& row) {
    if (!busy_.TryTake()) return;
    auto* edit = findChild<QLineEdit*>(QString::number(row.edit));
    edit->setText(QStringLiteral(" "));
    std::uint16_t value = 0;
    if (!client_.ReadParameter(row.code, &value)) return;
    edit->setText(QString::number(value));
}

void LightThresholdDialog::Write(const Row& row) {
    if (!busy_.TryTake()) return;
    const auto* edit = findChild<QLineEdit*>(QString::number(row.edit));
    const protocol::EntryValue entry =
        protocol::ConvertEntryText(edit->text().toStdString(), protocol::EntryRange::Unsigned16);
    if (entry.error != protocol::EntryError::None)
        return NumberRefused(this, entry.error == protocol::EntryError::OutOfRange);
    if (client_.WriteParameterEchoed(row.code, static_cast<std::uint16_t>(entry.bits))) {
        ui::Message(this, Tr(row.success), Tr(row.caption), ui::BoxIcon::None);
    } else {
        ui::Message(this, Tr(row.failure), Tr(row.caption), ui::BoxIcon::Question);
    }
}

}  // namespace quillet
