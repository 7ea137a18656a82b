#pragma once
// How the transmitter's display and relay outputs are driven (modes 1 to 4), and the two
// relays switched by hand, which only mode 4 allows. Registers at the device's address:
// 0x002D the mode, 0x002F relay 1, 0x0030 relay 2. Writes count only when echoed; every
// command waits for the main dialog's busy flag.
#include <QDialog>
#include <vector>

class QComboBox;
class QLineEdit;

namespace quillet {

class BusyFlag;
class TransmitterClient;

class LcdControlDialog : public QDialog {
    Q_OBJECT

  public:
    static constexpr std::uint16_t kModeRegister = 0x002D;
    static constexpr int kManualModeIndex = 3;  // "模式4"

    struct RelaySwitch {
        int id;
        const char* text;
        std::uint16_t reg;
        std::uint16_t value;
        const char* noReply;  // failure text on a timeout or a reply under 4 bytes
        const char* differs;  // failure text when the reply is not the echo
    };
    static const std::vector<RelaySwitch>& Switches();

    LcdControlDialog(TransmitterClient& client, BusyFlag& busy, QWidget* parent = nullptr);

  private:
    void WriteMode();
    void QueryRelay(std::uint16_t reg, QLineEdit* state);
    void Switch(const RelaySwitch& s);

    TransmitterClient& client_;
    BusyFlag& busy_;
    QComboBox* mode_ = nullptr;
    std::vector<QWidget*> relayControls_;
};

}  // namespace quillet
