#include "value_log.h"

namespace ui {

bool ValueLog::Open(const QString& path, QString* error) {
    Close();
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Append)) {
        if (error) *error = file_.errorString();
        return false;
    }
    if (file_.size() == 0) {
        file_.write("time,page,label,value,unit\n");
        file_.flush();
    }
    return true;
}

void ValueLog::Close() {
    if (file_.isOpen()) file_.close();
}

QString ValueLog::TimeText(const QDateTime& when) {
    const QDateTime local = when.toLocalTime();
    const int offset = local.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return local.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) +
           QStringLiteral("%1%2:%3")
               .arg(offset < 0 ? '-' : '+')
               .arg(minutes / 60, 2, 10, QLatin1Char('0'))
               .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString ValueLog::Field(const QString& text) {
    if (!text.contains(',') && !text.contains('"') && !text.contains('\n') && !text.contains('\r'))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return '"' + quoted + '"';
}

bool ValueLog::Append(const QDateTime& when, const QString& page, const Readings& readings) {
    if (!file_.isOpen() || readings.empty()) return false;
    const QString time = TimeText(when);
    QString rows;
    for (const Reading& r : readings)
        rows += time + ',' + Field(page) + ',' + Field(r.label) + ',' + Field(r.value.trimmed()) +
                ',' + Field(r.unit) + '\n';
    const QByteArray bytes = rows.toUtf8();
    const bool ok = file_.write(bytes) == bytes.size();
    return file_.flush() && ok;
}

}  // namespace ui
