#include "wind_pages.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>
#include <algorithm>

#include "category_container.h"

namespace pages {

// The dial and its arrow, drawn rather than loaded, so they stay sharp at any scale. The
// heading is also kept as the property "heading" (-1: a dial without an arrow).
class WindArrow : public QWidget {
  public:
    explicit WindArrow(QWidget* parent) : QWidget(parent) {
        setFixedSize(32, 32);
        SetHeading(std::nullopt);
    }
    void SetHeading(std::optional<int> degrees) {
        heading_ = degrees;
        setProperty("heading", degrees.value_or(-1));
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const qreal r = std::min(width(), height()) / 2.0;
        p.translate(width() / 2.0, height() / 2.0);
        p.setPen(QPen(QColor(0x90, 0x90, 0x90), r / 8));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(0, 0), r * 0.88, r * 0.88);
        if (!heading_) return;
        p.rotate(*heading_);
        // Up is north before the rotation: a shaft from below the centre to a head near the rim.
        const QColor blue(0x1e, 0x6f, 0xd0);
        p.setPen(QPen(blue, r / 6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(0, r * 0.45), QPointF(0, -r * 0.3));
        QPainterPath head;
        head.moveTo(0, -r * 0.68);
        head.lineTo(r * 0.32, -r * 0.2);
        head.lineTo(-r * 0.32, -r * 0.2);
        head.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(blue);
        p.drawPath(head);
    }

  private:
    std::optional<int> heading_;
};

WindDirectionPage::WindDirectionPage(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, WindDirectionSpec(), parent) {
    InitResources();
    arrow_ = new WindArrow(this);
    arrow_->setObjectName("1238");
    name_ = new QLabel(QCoreApplication::translate("pages", "风向"), this);
    name_->setObjectName("风向:value");
    auto* extras = ColumnExtras(0);
    extras->addWidget(arrow_);
    extras->addWidget(name_);
    ShowDirection();
}

protocol::ExchangeStatus WindDirectionPage::ReadRow(std::size_t row, bool showErrors) {
    if (row != 0) return DevicePage::ReadRow(row, showErrors);
    std::uint16_t code = 0;
    const protocol::ExchangeStatus status =
        Fields().ShowUInt(Edit(0), Spec().rows[0].reg, showErrors, &code);
    code_.reset();
    if (status == protocol::ExchangeStatus::Ok) code_ = code;
    ShowDirection();
    return status;
}

// Without a reading of register 0 (before the first query, or after a failed one) the page
// shows no direction: a north arrow would claim a north wind nobody measured.
void WindDirectionPage::ShowDirection() {
    if (!code_) {
        name_->setText(QCoreApplication::translate("pages", "风向"));
        arrow_->SetHeading(std::nullopt);
        return;
    }
    const WindDirection d = WindDirectionOf(*code_);
    name_->setText(QCoreApplication::translate("pages", d.name));
    arrow_->SetHeading(d.heading);
}

WindSpeedPage::WindSpeedPage(transport::SerialLink& link, QWidget* parent)
    : DevicePage(link, WindSpeedSpec(), parent) {}

}  // namespace pages
