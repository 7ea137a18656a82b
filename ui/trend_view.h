#pragma once
// A small live trend of the values polled on the current page over the last ten minutes:
// one line per value, each scaled to its own range (their units differ), with its name,
// latest value and unit in the legend. Drawn with QPainter.
#include <QColor>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <deque>
#include <vector>

#include "readings.h"

namespace ui {

class TrendView : public QWidget {
    Q_OBJECT
  public:
    static constexpr std::int64_t kSpanMs = 10 * 60 * 1000;

    struct Point {
        std::int64_t ms = 0;
        double value = 0;
        bool valid = false;  // false: that read failed, or the text is no number (a gap)
    };
    struct Series {
        QString label;
        QString unit;
        std::deque<Point> points;
    };

    explicit TrendView(QWidget* parent = nullptr);

    // One tick's readings of `page` at `ms` (milliseconds on any steady clock). Another page
    // starts the trend afresh; points older than kSpanMs go.
    void Add(std::int64_t ms, const QString& page, const Readings& readings);
    void Clear();

    const QString& Page() const { return page_; }
    const std::vector<Series>& AllSeries() const { return series_; }
    // The series of `label`, nullptr when there is none.
    const Series* Find(const QString& label) const;

    QSize sizeHint() const override { return {360, 160}; }
    QSize minimumSizeHint() const override { return {200, 90}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString page_;
    std::vector<Series> series_;
    std::int64_t latest_ = 0;
};

}  // namespace ui
