// Real-time polling of a device that does not answer: after a tick in which nothing came
// back, each tick asks one request, in turn, until the device answers; a device that only
// lacks a register keeps being asked everything.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <memory>
#include <string>

#include "categories.h"
#include "device_page.h"
#include "profiles.h"
#include "register_device.h"
#include "simulated_line.h"
#include "ui_test_support.h"

namespace {

constexpr std::uint8_t kAddress = 1;
constexpr std::uint32_t kBaud = 9600;

// A register device that keeps quiet when asked for one register it lacks (instead of
// sending an exception reply).
class QuietAbout : public sim::Device {
  public:
    QuietAbout(std::shared_ptr<sim::RegisterDevice> device, std::uint16_t reg)
        : device_(std::move(device)), reg_(reg) {}
    std::size_t RequestLength(const std::uint8_t* bytes, std::size_t n) const override {
        return device_->RequestLength(bytes, n);
    }
    sim::Bytes Answer(const std::uint8_t* request, std::size_t n) override {
        if (n >= 4 && request[1] == 3 && (request[2] << 8 | request[3]) == reg_) return {};
        return device_->Answer(request, n);
    }
    std::uint32_t Baud() const override { return device_->Baud(); }

  private:
    std::shared_ptr<sim::RegisterDevice> device_;
    std::uint16_t reg_;
};

std::shared_ptr<sim::RegisterDevice> Registers(const sim::RegisterMap& registers) {
    return std::make_shared<sim::RegisterDevice>(sim::DeviceAt(kAddress, kBaud), registers);
}

// Registers 0 to 2 hold 123, 456 and 789.
const sim::RegisterMap kThree = {{0, 123}, {1, 456}, {2, 789}};

// A page of a category, on its own link to a device on a pseudo-terminal.
struct Rig {
    Rig(std::shared_ptr<sim::Device> device, const char* category, const char* title)
        : line(std::move(device)) {
        EXPECT_EQ(link.Reopen(line.Path(), kBaud), 1);
        link.SetDeviceAddress(kAddress);
        for (const pages::Category& c : pages::Categories())
            if (std::string(c.title) == category)
                for (const pages::SubTab& tab : c.tabs)
                    if (std::string(tab.title) == title)
                        page.reset(qobject_cast<pages::DevicePage*>(tab.make(link, nullptr)));
        EXPECT_NE(page, nullptr) << title;
    }

    // The registers read since the last call, in order.
    std::vector<std::uint16_t> Asked() {
        std::vector<std::uint16_t> regs;
        for (const sim::Bytes& b : line.Received())
            if (b.size() >= 4) regs.push_back(static_cast<std::uint16_t>(b[2] << 8 | b[3]));
        line.ClearReceived();
        return regs;
    }
    QStringList Shown(const std::vector<const char*>& fields) const {
        QStringList texts;
        for (const char* name : fields) {
            auto* edit = testsupport::Find<QLineEdit>(page.get(), name);
            texts << (edit ? edit->text() : QStringLiteral("<no %1>").arg(name));
        }
        return texts;
    }

    testsupport::BoxRecorder boxes;
    sim::SimulatedLine line;
    transport::SerialLink link;
    std::unique_ptr<pages::DevicePage> page;  // before the link goes
};

struct PolledPage {
    const char* category;
    const char* title;
    std::vector<std::uint16_t> order;  // the polled registers, in the order a tick asks them
    std::vector<const char*> fields;   // their fields, in the same order
    QStringList values;                // what they show of kThree
};

const PolledPage kPages[] = {
    {"气体类", " CO2 ", {1, 0, 2}, {"1049", "1050", "1053"}, {"45.6", "12.3", "789"}},
    {"油烟系类",
     "485油烟",
     {0, 2, 1},
     {"油烟:edit", "颗粒物:edit", "非甲烷总烃:edit"},
     {"1.23", "7.89", "4.56"}},
};

TEST(SilentPoll, ASilentDeviceIsAskedOneRequestPerTickInTurnUntilItAnswers) {
    for (const PolledPage& p : kPages) {
        SCOPED_TRACE(p.title);
        Rig rig(Registers(kThree), p.category, p.title);
        const QStringList empty = {"", "", ""};
        rig.page->Poll();
        EXPECT_EQ(rig.Asked(), p.order);
        EXPECT_EQ(rig.Shown(p.fields), p.values);

        rig.line.SetFault(sim::Fault::Silence);
        rig.page->Poll();  // nobody answers any of the three
        EXPECT_EQ(rig.Asked(), p.order);
        EXPECT_EQ(rig.Shown(p.fields), empty);
        for (std::size_t tick = 0; tick < 4; ++tick) {
            SCOPED_TRACE(tick);
            rig.page->Poll();
            EXPECT_EQ(rig.Asked(), std::vector<std::uint16_t>{p.order[tick % 3]});
            EXPECT_EQ(rig.Shown(p.fields), empty);
        }

        // Back again: the one request of this tick is answered, the next tick asks all.
        rig.line.ClearFault();
        rig.page->Poll();
        EXPECT_EQ(rig.Asked(), std::vector<std::uint16_t>{p.order[1]});
        EXPECT_EQ(rig.Shown(p.fields), QStringList({"", p.values[1], ""}));
        rig.page->Poll();
        EXPECT_EQ(rig.Asked(), p.order);
        EXPECT_EQ(rig.Shown(p.fields), p.values);
        EXPECT_TRUE(rig.boxes.Boxes().empty()) << rig.boxes.Texts().toStdString();
    }
}

TEST(SilentPoll, ABadReplyIsAnAnswerAndEveryRequestGoesOnBeingAsked) {
    Rig rig(Registers(kThree), "气体类", " CO2 ");
    rig.line.SetFault(sim::Fault::BadCrc);
    for (int tick = 0; tick < 2; ++tick) {
        rig.page->Poll();
        EXPECT_EQ(rig.Asked(), (std::vector<std::uint16_t>{1, 0, 2}));
        EXPECT_EQ(rig.Shown({"1049", "1050", "1053"}), QStringList({"", "", ""}));
    }
}

TEST(SilentPoll, ADeviceWithoutOneRegisterStillShowsTheOthersEveryTick) {
    const struct {
        const char* how;
        std::shared_ptr<sim::Device> device;
    } cases[] = {
        {"exception reply", Registers({{0, 123}, {1, 456}})},
        {"no reply", std::make_shared<QuietAbout>(Registers(kThree), 2)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        Rig rig(c.device, "气体类", " CO2 ");
        for (int tick = 0; tick < 3; ++tick) {
            rig.page->Poll();
            EXPECT_EQ(rig.Asked(), (std::vector<std::uint16_t>{1, 0, 2}));
            EXPECT_EQ(rig.Shown({"1049", "1050", "1053"}), QStringList({"45.6", "12.3", ""}));
        }
        EXPECT_TRUE(rig.boxes.Boxes().empty()) << rig.boxes.Texts().toStdString();
    }
}

}  // namespace
