#pragma once
// The CSV file of polled values: UTF-8 without BOM, the header "time,page,label,value,unit"
// once per file, one row per value per tick, each tick flushed to the file at once so that a
// pulled adapter or a crash loses nothing already read.
#include <QDateTime>
#include <QFile>
#include <QString>

#include "readings.h"

namespace ui {

class ValueLog {
  public:
    // Appends to `path` (created when missing; the header only when it is empty). False, with
    // the reason in `error`, when it cannot be written.
    bool Open(const QString& path, QString* error = nullptr);
    void Close();
    bool IsOpen() const { return file_.isOpen(); }
    QString Path() const { return file_.fileName(); }

    // One row per reading, all with the time `when`.
    bool Append(const QDateTime& when, const QString& page, const Readings& readings);

    // ISO 8601 local time with its offset and milliseconds: "2026-12-10T19:40:00.123+08:00".
    static QString TimeText(const QDateTime& when);
    // A CSV field, quoted when it holds a comma, a quote or a line break.
    static QString Field(const QString& text);

  private:
    QFile file_;
};

}  // namespace ui
