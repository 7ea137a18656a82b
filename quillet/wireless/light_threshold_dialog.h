#pragma once
// The light alarm thresholds (upper, lower, hysteresis), read and written as parameter
// frames with codes 13 to 15. Values are unsigned 16-bit; a write counts only when the
// device echoes all 9 bytes. Every command waits for the main dialog's busy flag.
#include <QDialog>
#include <cstdint>
#include <vector>

namespace quillet {

class BusyFlag;
class TransmitterClient;

class LightThresholdDialog : public QDialog {
    Q_OBJECT

  public:
    struct Row {
        int edit;
        const char* label;
        int read, set;
        std::uint8_t code;
        const char* caption;  // of the set command's boxes
        const char* success;
        const char* failure;
    };
    static const std::vector<Row>& Rows();

    LightThresholdDialog(TransmitterClient& client, BusyFlag& busy, QWidget* parent = nullptr);

  private:
    void Read(const Row& row);
    void Write(const Row& row);

    TransmitterClient& client_;
    BusyFlag& busy_;
};

}  // namespace quillet
