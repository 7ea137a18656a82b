// The value log's file: header once, one row per reading, times with offset and
// milliseconds, fields quoted only where CSV needs it.
#include "value_log.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

namespace {

TEST(ValueLog, TimesCarryMillisecondsAndTheLocalOffset) {
    const QDateTime utc(QDate(2026, 12, 10), QTime(19, 40, 0, 123), Qt::UTC);
    const QString text = ui::ValueLog::TimeText(utc);
    // Read back, the text names the same instant, whatever the machine's zone.
    EXPECT_EQ(QDateTime::fromString(text, Qt::ISODateWithMs).toMSecsSinceEpoch(),
              utc.toMSecsSinceEpoch());
    EXPECT_TRUE(text.contains(".123"));
    const QString offset = text.right(6);
    EXPECT_TRUE(offset[0] == '+' || offset[0] == '-') << text.toStdString();
    EXPECT_EQ(offset[3], ':');
}

TEST(ValueLog, FieldsAreQuotedOnlyWhereCsvNeedsIt) {
    const struct {
        QString in, out;
    } rows[] = {
        {"25.3", "25.3"},
        {"温湿度类 / 温湿度", "温湿度类 / 温湿度"},
        {"", ""},
        {"风机状态,净化器", "\"风机状态,净化器\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\nlines", "\"two\nlines\""},
    };
    for (const auto& r : rows) EXPECT_EQ(ui::ValueLog::Field(r.in), r.out);
}

TEST(ValueLog, AppendsRowsAndWritesTheHeaderOncePerFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("log.csv");
    const QDateTime t = QDateTime::currentDateTime();
    for (int run = 0; run < 2; ++run) {
        ui::ValueLog log;
        ASSERT_TRUE(log.Open(path));
        EXPECT_TRUE(log.Append(t, "页", {{"温度", "℃", "25.3"}, {"湿度", "%RH", ""}}));
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList rows = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    const QString time = ui::ValueLog::TimeText(t);
    EXPECT_EQ(rows, (QStringList{"time,page,label,value,unit", time + ",页,温度,25.3,℃",
                                 time + ",页,湿度,,%RH", time + ",页,温度,25.3,℃",
                                 time + ",页,湿度,,%RH"}));

    ui::ValueLog refused;
    QString error;
    EXPECT_FALSE(refused.Open(dir.filePath("no/such/dir/log.csv"), &error));
    EXPECT_FALSE(error.isEmpty());
}

}  // namespace
