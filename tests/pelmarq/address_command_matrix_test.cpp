// The main window's address and baud-rate commands against every fault of a bad line: the box
// they show (or the fields a query fills), the address the window then talks to, and that a
// register query on the same link right after gets exactly its own reply. (The comm block
// writes of the fixed-address modes share their reply check with Quillet's, whose matrix
// covers it.)
#include "fault_matrix.h"
#include "pelmarq_fixture.h"

using namespace pelmarqtest;
using namespace faultmatrix;

namespace {

// A field's number, -1 when it holds none (a query blanks both fields first).
std::int64_t Number(QLineEdit* field) {
    bool ok = false;
    const int n = field->text().toInt(&ok);
    return ok ? n : -1;
}

struct Command {
    const char* name;
    const char* button;
    const char* address;  // typed into 1002 first (nullptr: nothing typed)
    const char* baud;     // typed into 1003 first
    const char* success;  // the box of an accepted reply (nullptr: a query, no box)
    const char* failure;
    Values own;
    Spoiled spoiled;
    std::array<Result, kColumns> want;
};

constexpr auto OK = Result::Ok;
constexpr auto NO = Result::Failed;

class AddressCommandMatrix : public MainWindowTest {
  protected:
    // Clicks the command, once the query's busy period lets it through.
    Outcome Run(const Command& c) {
        const std::uint8_t address = dialog->Link().DeviceAddress();
        if (c.address) Field("1002")->setText(c.address);
        if (c.baud) Field("1003")->setText(c.baud);
        boxes.Clear();
        const std::size_t sent = line->Received().size();
        EXPECT_TRUE(testsupport::WaitFor([&] {
            Button(c.button)->click();
            return line->Received().size() > sent;
        }));
        // What the window holds: for a query the two fields, for a set the address and
        // the port's rate.
        if (!c.success) {
            EXPECT_TRUE(boxes.Boxes().empty()) << boxes.Texts().toStdString();
            return {Result::Ok,
                    {-1, -1, address},
                    {Number(Field("1002")), Number(Field("1003")), dialog->Link().DeviceAddress()}};
        }
        const Values before{address, 9600};
        const Values after{dialog->Link().DeviceAddress(), line->LineBaud()};
        const QString text = boxes.Boxes().empty() ? QString() : boxes.Boxes().back().text;
        EXPECT_EQ(boxes.Boxes().size(), 1u) << boxes.Texts().toStdString();
        EXPECT_TRUE(text == c.success || text == c.failure) << text.toStdString();
        return {text == c.success ? Result::Ok : Result::Failed, before, after};
    }

    void Table(sim::RegisterDeviceConfig config, const std::vector<Command>& commands) {
        StartDevice(config, {{1, 236}});
        ScanAndForget();
        const std::uint8_t linkAddress = dialog->Link().DeviceAddress();
        auto* temperature = ShowPage(0, 0);
        const protocol::Frame read = protocol::BuildReadRegisters(linkAddress, 1, 1);
        const auto faults = Faults(500);
        for (const Command& c : commands) {
            SCOPED_TRACE(c.name);
            for (std::size_t col = 0; col < kColumns; ++col) {
                SCOPED_TRACE(faults[col].name);
                line->ClearReceived();
                line->SetFault(faults[col].fault, 1, faults[col].param);
                Outcome got = Run(c);
                // A query's blank fields count as untouched.
                if (!c.success && got.after == got.before) got.result = Result::Failed;
                ExpectCell(static_cast<Column>(col), c.want[col], got, c.own, c.spoiled);
                // An accepted FD reply may have named another address: back to the device's.
                dialog->Link().SetDeviceAddress(linkAddress);
                boxes.Clear();
                testsupport::Find<QLineEdit>(temperature, "1009")->clear();
                testsupport::Find<QPushButton>(temperature, "1010")->click();
                EXPECT_EQ(testsupport::Find<QLineEdit>(temperature, "1009")->text().toStdString(),
                          "23.6");
                EXPECT_TRUE(boxes.Boxes().empty()) << boxes.Texts().toStdString();
                const std::vector<sim::Bytes> received = line->Received();
                ASSERT_FALSE(received.empty());
                EXPECT_EQ(received.back(), Bytes(read));
            }
        }
    }
};

}  // namespace

// FD replies: "wrongaddr" turns the baud code 3 (9600) into 2 (4800), "badecho" the address 7
// into 6. A set is done only when its reply reports what it asked.
TEST_F(AddressCommandMatrix, AddressFrameCommandsAgainstEveryFault) {
    // clang-format off
    Table(Device(7, 9600), {
        {"query", "1004", nullptr, nullptr, nullptr, nullptr, {7, 9600, 7},
         {{kWrongAddress, {7, 4800, 7}}, {kBadEcho, {6, 9600, 6}}},
         // silent badcrc short wrongaddr double noise split> split< late< late> badecho exc
         {NO, NO, NO, OK, NO, NO, NO, OK, OK, NO, OK, NO}},
        {"set address", "1005", "7", nullptr, "地址设置成功", "地址设置失败", {7, 9600}, {},
         {NO, NO, NO, OK, NO, NO, NO, OK, OK, NO, NO, NO}},
        // The reply's address is not taken; the port re-opens at the rate asked.
        {"set baud", "1007", "7", "9600", "波特率设置成功", "波特率设置失败", {7, 9600}, {},
         {NO, NO, NO, NO, NO, NO, NO, OK, OK, NO, OK, NO}},
    });
    // clang-format on
}
