#pragma once
// The generic device page: builds its controls from a PageSpec and runs query, set, poll,
// the real-time box and the sensor-type switch. Pages with behaviour of their own derive
// from it and override the hooks.
#include <QWidget>
#include <functional>
#include <vector>

#include "field_helpers.h"
#include "page_table.h"
#include "page_values.h"
#include "readings.h"
#include "register_client.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace pages {

class DevicePage : public QWidget {
    Q_OBJECT
  public:
    DevicePage(transport::SerialLink& link, PageSpec spec, QWidget* parent = nullptr);

    // The page's real-time read, called once a second while its box is checked and it is
    // the visible page. Never shows a box. Runs every poll unit in order; but once a tick
    // got no reply at all to any of them, each tick asks one unit only, the next one each
    // time, until the device answers again: a silent device then holds the window for one
    // wait per tick instead of one per request. The units not asked are emptied.
    void Poll();
    bool HasPoll() const { return realtime_ != nullptr; }
    // The values the poll reads, as the page shows them now (empty where a read failed):
    // for the value log and the trend.
    ui::Readings PolledValues() const;
    bool RealtimeChecked() const;
    QCheckBox* RealtimeBox() const { return realtime_; }

    // Sensor-type combo (pages that have one): filled by the page's container.
    QComboBox* SensorType() const { return sensorType_; }
    void SetSensorTypes(const QStringList& items, int defaultIndex);
    // True when the chosen type includes temperature and humidity (its text does not begin
    // with "单"); always true on pages without a sensor type.
    bool TypeHasTempHumidity() const;
    QString SensorTypeText() const;
    // Chooses the sensor type of this text as the user would; false when there is none.
    bool ChooseSensorType(const QString& text);

    const PageSpec& Spec() const { return spec_; }
    QLineEdit* Edit(std::size_t row) const { return rows_[row].edit; }
    QComboBox* Combo(std::size_t row) const { return rows_[row].combo; }
    QPushButton* QueryButton(std::size_t row) const { return rows_[row].query; }
    QPushButton* SetButton(std::size_t row) const { return rows_[row].set; }

  protected:
    // One request of the real-time poll (a row with its followers, or a block read).
    struct PollUnit {
        // Sends the request and shows the reply, or empties its fields when it failed.
        std::function<protocol::ExchangeStatus()> read;
        // Empties its fields without a request (a tick that asks another unit).
        std::function<void()> clear;
    };
    // The page's poll, in the order the device is asked: by default every row flagged
    // kPolled (rows of a type without T/H skipped), one unit each. Pages that read blocks
    // or keep an order of their own give theirs.
    virtual std::vector<PollUnit> PollUnits();
    // The unit of one row.
    PollUnit RowUnit(std::size_t row);

    // Reads one row into its edit with the row's helper. Returns the exchange status.
    virtual protocol::ExchangeStatus ReadRow(std::size_t row, bool showErrors);
    // Reads a row and then, each with a request of its own, the kFollows rows under it.
    protocol::ExchangeStatus ReadWithFollowers(std::size_t row, bool showErrors);
    // Writes one row's entry (validated rows first check for 0/1).
    virtual void WriteRow(std::size_t row);
    RowScale ScaleFor(std::size_t row) const;
    // The encoding a row uses now: the table's, unless the page lets it follow the sensor
    // type (kRanged rows). Asked at every query, set and poll; nothing is cached.
    virtual Encoding EncodingFor(std::size_t row) const { return spec_.rows[row].encoding; }
    // Recomputes which buttons are enabled from the real-time box and the sensor type.
    void UpdateEnabled();
    // The text a single-register row shows for a register value (block reads fill rows
    // with it).
    QString RowText(std::size_t row, std::uint16_t raw) const;

    fields::FieldHelpers& Fields() { return fields_; }
    protocol::RegisterClient& Client() { return client_; }
    transport::SerialLink& Link() { return link_; }
    // A column's layout for extra widgets (below its rows).
    QVBoxLayout* ColumnExtras(int column);

  private:
    struct RowControls {
        QLineEdit* edit = nullptr;   // nullptr on choice and command rows
        QComboBox* combo = nullptr;  // choice rows
        QPushButton* query = nullptr;
        QPushButton* set = nullptr;
        QLabel* label = nullptr;
        QLabel* unit = nullptr;
    };
    void Build();
    protocol::ExchangeStatus ReadChoice(std::size_t row, bool showErrors);
    void WriteChoice(std::size_t row);
    void RealtimeClicked();
    void SensorTypeSelected();
    // Empties a row's edit or list.
    void ClearRow(std::size_t row);
    // Runs a unit: its request did not go out (port closed), got no byte back at all, or
    // got some reply (even a bad one).
    enum class Outcome { NotSent, Silent, Answered };
    Outcome Run(const PollUnit& unit);

    transport::SerialLink& link_;
    PageSpec spec_;
    protocol::RegisterClient client_;
    fields::FieldHelpers fields_;
    std::vector<RowControls> rows_;
    std::vector<QVBoxLayout*> columnExtras_;
    QCheckBox* realtime_ = nullptr;
    QComboBox* sensorType_ = nullptr;
    // While the device is silent: the index of the unit the next tick asks (-1: all).
    int silentTurn_ = -1;
};

// A page that is nothing but its table.
template <PageSpec (*Table)()>
QWidget* MakeTable(transport::SerialLink& link, QWidget* parent) {
    return new DevicePage(link, Table(), parent);
}

}  // namespace pages
