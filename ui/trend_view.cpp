#include "trend_view.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace ui {
namespace {

const QColor kColours[] = {
    QColor(0x1f, 0x77, 0xb4), QColor(0xd6, 0x27, 0x28), QColor(0x2c, 0xa0, 0x2c),
    QColor(0xff, 0x7f, 0x0e), QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b),
    QColor(0xe3, 0x77, 0xc2), QColor(0x7f, 0x7f, 0x7f), QColor(0xbc, 0xbd, 0x22),
    QColor(0x17, 0xbe, 0xcf),
};

}  // namespace

TrendView::TrendView(QWidget* parent) : QWidget(parent) {
    setObjectName("trend");
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TrendView::Clear() {
    series_.clear();
    page_.clear();
    update();
}

const TrendView::Series* TrendView::Find(const QString& label) const {
    for (const Series& s : series_)
        if (s.label == label) return &s;
    return nullptr;
}

void TrendView::Add(std::int64_t ms, const QString& page, const Readings& readings) {
    if (page != page_) {
        series_.clear();
        page_ = page;
    }
    latest_ = ms;
    for (const Reading& r : readings) {
        auto it = std::find_if(series_.begin(), series_.end(),
                               [&](const Series& s) { return s.label == r.label; });
        if (it == series_.end()) {
            series_.push_back({r.label, r.unit, {}});
            it = series_.end() - 1;
        }
        bool ok = false;
        // QString's own conversion reads "." whatever the desktop's locale.
        const double value = r.value.trimmed().toDouble(&ok);
        it->points.push_back({ms, value, ok && std::isfinite(value)});
    }
    for (Series& s : series_)
        while (!s.points.empty() && s.points.front().ms < ms - kSpanMs) s.points.pop_front();
    if (isVisible()) update();
}

void TrendView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics fm = fontMetrics();
    const int legendHeight = fm.height() + 4;
    const QRect plot = rect().adjusted(8, legendHeight + 4, -8, -fm.height() - 6);
    if (plot.width() < 20 || plot.height() < 20) return;

    // Grid: a line every two minutes, the time axis under it (every other label when narrow).
    const int labelEvery = plot.width() / 5 < fm.horizontalAdvance(tr("-10 分")) + 8 ? 2 : 1;
    for (int i = 0; i <= 5; ++i) {
        const int x = plot.left() + plot.width() * i / 5;
        p.setPen(QPen(palette().mid().color(), 1, Qt::DotLine));
        p.drawLine(x, plot.top(), x, plot.bottom());
        if ((5 - i) % labelEvery) continue;
        p.setPen(palette().text().color());
        const QString tick = i == 5 ? tr("现在") : tr("-%1 分").arg(10 - 2 * i);
        const int w = fm.horizontalAdvance(tick);
        p.drawText(std::clamp(x - w / 2, 0, width() - w), height() - 4, tick);
    }
    p.drawRect(plot);

    if (series_.empty()) {
        p.setPen(palette().text().color());
        p.drawText(plot, Qt::AlignCenter | Qt::TextWordWrap, tr("勾选“实时”后显示数值趋势"));
        return;
    }

    const std::int64_t start = latest_ - kSpanMs;
    int legendX = 8;
    for (std::size_t i = 0; i < series_.size(); ++i) {
        const Series& s = series_[i];
        const QColor colour = kColours[i % std::size(kColours)];
        double lo = 0, hi = 0;
        bool any = false;
        for (const Point& pt : s.points) {
            if (!pt.valid) continue;
            lo = any ? std::min(lo, pt.value) : pt.value;
            hi = any ? std::max(hi, pt.value) : pt.value;
            any = true;
        }
        if (any && hi - lo < 1e-9) {
            lo -= 1;
            hi += 1;
        }
        QPainterPath path;
        bool pen = false;
        for (const Point& pt : s.points) {
            if (!pt.valid) {
                pen = false;
                continue;
            }
            const double x = plot.left() + plot.width() * double(pt.ms - start) / kSpanMs;
            const double y = plot.bottom() - plot.height() * (pt.value - lo) / (hi - lo) * 0.9 -
                             plot.height() * 0.05;
            if (pen)
                path.lineTo(x, y);
            else
                path.moveTo(x, y);
            pen = true;
        }
        p.setPen(QPen(colour, 1.5));
        p.drawPath(path);

        const QString last = !s.points.empty() && s.points.back().valid
                                 ? QString::number(s.points.back().value)
                                 : QStringLiteral("—");
        const QString legend = QStringLiteral("%1 %2 %3").arg(s.label, last, s.unit).trimmed();
        p.fillRect(legendX, 6, 10, fm.height() - 4, colour);
        p.setPen(palette().text().color());
        p.drawText(legendX + 14, 2 + fm.ascent(), legend);
        legendX += 14 + fm.horizontalAdvance(legend) + 12;
    }
}

}  // namespace ui
