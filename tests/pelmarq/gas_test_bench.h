#pragma once
// A page of the gas or oil fume categories, made as its category makes it, talking through
// the real serial link to a simulated register device on a pseudo-terminal.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <memory>
#include <string>

#include "categories.h"
#include "device_page.h"
#include "register_device.h"
#include "simulated_line.h"
#include "ui_test_support.h"

namespace gastest {

// One request as the device received it: function, register, and the count (reads, block
// writes) or the value (single writes).
struct Request {
    std::uint8_t function = 0;
    std::uint16_t reg = 0;
    std::uint16_t word = 0;
    bool operator==(const Request&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Request& r) {
    return os << "fn " << int{r.function} << " reg " << r.reg << " word " << r.word;
}

class Bench {
  public:
    explicit Bench(std::uint32_t baud = 4800, std::uint8_t address = 1) {
        sim::RegisterDeviceConfig config;
        config.address = address;
        config.baud = baud;
        sim::RegisterMap regs;
        for (std::uint16_t reg = 0; reg < 100; ++reg) regs[reg] = 0;
        regs[0x200] = regs[0x201] = 0;
        device_ = std::make_shared<sim::RegisterDevice>(config, regs);
        line_ = std::make_unique<sim::SimulatedLine>(device_);
        EXPECT_TRUE(line_->Ok());
        EXPECT_EQ(link_.Reopen(line_->Path(), baud), 1);
        link_.SetDeviceAddress(address);
    }

    // The page of sub-tab `title` in `category`, with what the container gives it.
    std::unique_ptr<pages::DevicePage> Page(const char* category, const char* title) {
        for (const pages::Category& c : pages::Categories()) {
            if (std::string(c.title) != category) continue;
            for (const pages::SubTab& tab : c.tabs)
                if (std::string(tab.title) == title && tab.make) {
                    QWidget* page = tab.make(link_, nullptr);
                    return std::unique_ptr<pages::DevicePage>(
                        qobject_cast<pages::DevicePage*>(page));
                }
        }
        ADD_FAILURE() << "no page " << title << " in " << category;
        return nullptr;
    }
    std::unique_ptr<pages::DevicePage> Gas(const char* title) { return Page("气体类", title); }

    sim::RegisterDevice& Device() { return *device_; }
    sim::SimulatedLine& Line() { return *line_; }
    testsupport::BoxRecorder& Boxes() { return boxes_; }

    // The requests received since the last call.
    std::vector<Request> Requests() {
        std::vector<Request> out;
        for (const sim::Bytes& b : line_->Received())
            if (b.size() >= 6)
                out.push_back({b[1], static_cast<std::uint16_t>(b[2] << 8 | b[3]),
                               static_cast<std::uint16_t>(b[4] << 8 | b[5])});
        line_->ClearReceived();
        return out;
    }
    void Forget() {  // the requests and boxes so far
        Requests();
        boxes_.Clear();
    }

  private:
    std::shared_ptr<sim::RegisterDevice> device_;
    std::unique_ptr<sim::SimulatedLine> line_;
    transport::SerialLink link_;
    testsupport::BoxRecorder boxes_;
};

inline QLineEdit* EditOf(QWidget* page, const QString& name) {
    auto* edit = testsupport::Find<QLineEdit>(page, name);
    EXPECT_NE(edit, nullptr) << name.toStdString();
    return edit;
}

inline QString TextOf(QWidget* page, const QString& name) {
    QLineEdit* edit = EditOf(page, name);
    return edit ? edit->text() : QStringLiteral("<missing>");
}

inline void Click(QWidget* page, const QString& name) {
    auto* button = testsupport::Find<QPushButton>(page, name);
    ASSERT_NE(button, nullptr) << name.toStdString();
    button->click();
}

// Chooses a sensor type as a user does.
inline void ChooseType(pages::DevicePage* page, int index) {
    QComboBox* combo = page->SensorType();
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

}  // namespace gastest
