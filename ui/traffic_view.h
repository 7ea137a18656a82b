#pragma once
// The traffic panel: every frame of the link's tap as a line of time, direction, the bytes in
// hex and what they mean. It reads the tap on a timer only while it is shown; hidden, it
// costs nothing.
#include <QAbstractTableModel>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <optional>

#include "frame_decoder.h"
#include "serial_link.h"

class QPushButton;
class QTableView;

namespace ui {

struct TrafficLine {
    QString time;       // wall clock, "12:03:04.123"
    QString direction;  // "发送", "接收", "丢弃", "超时"
    QString hex;        // "FD FD FD 00 00 E9 88"
    QString text;       // "FD 查询 → 地址 7, 4800"
    bool bad = false;   // a reply not accepted, a drop, a give-up
};

class TrafficModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { Time, Direction, Hex, Text, kColumns };
    // As many lines as the tap holds records.
    static constexpr std::size_t kMaxLines = transport::TrafficTap::kCapacity;

    using QAbstractTableModel::QAbstractTableModel;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void Append(std::vector<TrafficLine> lines);
    void Clear();
    const TrafficLine& Line(int row) const { return lines_[static_cast<std::size_t>(row)]; }

  private:
    std::deque<TrafficLine> lines_;
};

class TrafficView : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kRefreshMs = 250;

    explicit TrafficView(transport::SerialLink& link, QWidget* parent = nullptr);

    // What the program allows beyond a request's own rule (Quillet's broadcast mode), asked
    // at each refresh.
    void SetContext(std::function<protocol::ReplyContext()> context) {
        context_ = std::move(context);
    }

    // Reads what the tap recorded since the last refresh (nothing while paused).
    void Refresh();
    bool Paused() const { return paused_; }
    void SetPaused(bool on);
    // Empties the view; the tap keeps its records, later ones show.
    void Clear();
    // Every line shown (or the selected ones), tab-separated, one per line.
    QString Text(bool selectedOnly = false) const;
    bool SaveTo(const QString& path) const;

    const TrafficModel& Model() const { return model_; }
    const QTimer& RefreshTimer() const { return timer_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void Copy();
    void Save();

    transport::SerialLink& link_;
    std::function<protocol::ReplyContext()> context_;
    TrafficModel model_;
    QTableView* table_ = nullptr;
    QPushButton* pause_ = nullptr;
    QTimer timer_;
    bool paused_ = false;
    std::uint64_t seen_ = 0;  // the last tap record read
    // The request the next replies answer (the decoder pairs them; the line repeats it).
    protocol::TrafficDecoder decoder_;
    std::optional<protocol::FrameDescription> request_;
};

}  // namespace ui
