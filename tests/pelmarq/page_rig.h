#pragma once
// A device page on the program's own serial link, against a simulated register device on a
// pseudo-terminal; every message box recorded.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "category_container.h"
#include "device_page.h"
#include "profiles.h"
#include "register_frames.h"
#include "simulated_line.h"
#include "ui_test_support.h"

namespace pagetest {

using testsupport::Find;

struct PageRig {
    static constexpr std::uint8_t kAddress = 7;
    static constexpr std::uint32_t kBaud = 9600;

    explicit PageRig(sim::RegisterMap registers = {})
        : PageRig(std::make_shared<sim::RegisterDevice>(sim::DeviceAt(kAddress, kBaud),
                                                        std::move(registers)),
                  0) {}
    // A demo profile's device, at its own address and baud rate.
    explicit PageRig(const sim::Profile* profile)
        : PageRig(std::dynamic_pointer_cast<sim::RegisterDevice>(profile->make({})), 0) {}

  private:
    PageRig(std::shared_ptr<sim::RegisterDevice> d, int) : device(std::move(d)), line(device) {
        link.Reopen(line.Path(), device->Baud());
        link.SetDeviceAddress(device->Address());
    }

  public:
    // Builds the page under test on this rig's link.
    template <class Make>
    QWidget* Page(Make make) {
        page.reset(make(link, nullptr));
        return page.get();
    }

    QLineEdit* Edit(const QString& name) const { return Find<QLineEdit>(page.get(), name); }
    QString Text(const QString& name) const {
        QLineEdit* e = Edit(name);
        return e ? e->text() : QStringLiteral("<no %1>").arg(name);
    }
    // Clicks the named button of the page; false when there is none.
    bool Click(const QString& name) {
        auto* b = Find<QPushButton>(page.get(), name);
        if (!b) return false;
        b->click();
        return true;
    }
    // Rows without ids: "<row>:query" clicked, the text of "<row>:edit" returned.
    QString Query(const char* row) {
        if (!Click(Named(row, "query"))) return QStringLiteral("<no query button>");
        return Text(Named(row, "edit"));
    }
    // `entry` typed into "<row>:edit", then "<row>:set" clicked.
    bool Set(const char* row, const char* entry) {
        QLineEdit* e = Edit(Named(row, "edit"));
        if (!e) return false;
        e->setText(QString::fromUtf8(entry));
        return Click(Named(row, "set"));
    }
    static QString Named(const char* row, const char* role) {
        return QString::fromUtf8(row) + ":" + role;
    }

    // Exactly this request went out and no box was shown.
    void ExpectQuiet(const sim::Bytes& request) const {
        EXPECT_EQ(line.Received(), std::vector<sim::Bytes>{request});
        EXPECT_TRUE(boxes.Boxes().empty()) << boxes.Texts().toStdString();
    }
    // Exactly this write went out and "写入成功" was shown with this icon.
    void ExpectWritten(const sim::Bytes& request, ui::BoxIcon icon) const {
        EXPECT_EQ(line.Received(), std::vector<sim::Bytes>{request});
        EXPECT_EQ(boxes.Only().text, "写入成功");
        EXPECT_EQ(boxes.Only().icon, icon);
    }

    // Nothing went out and the entry was refused with this box.
    void ExpectRefused(const char* text) const {
        EXPECT_TRUE(line.Received().empty());
        EXPECT_EQ(boxes.Only().text, QString::fromUtf8(text));
        EXPECT_EQ(boxes.Only().caption, "警告");
        EXPECT_EQ(boxes.Only().icon, ui::BoxIcon::Warning);
    }

    std::uint16_t Reg(std::uint16_t reg) const { return device->Register(reg).value_or(0xDEAD); }

    // Requests as they went out.
    static sim::Bytes Bytes(const protocol::Frame& f) { return {f.data(), f.data() + f.size}; }
    static sim::Bytes Read(std::uint16_t reg, std::uint8_t count = 1) {
        return Bytes(protocol::BuildReadRegisters(kAddress, reg, count));
    }
    static sim::Bytes Write(std::uint16_t reg, std::uint16_t value) {
        return Bytes(protocol::BuildWriteRegister(kAddress, reg, value));
    }
    static sim::Bytes WritePair(std::uint16_t reg, std::uint32_t value) {
        return Bytes(protocol::BuildWriteRegisterPair(kAddress, reg, value));
    }

    testsupport::BoxRecorder boxes;
    std::shared_ptr<sim::RegisterDevice> device;
    sim::SimulatedLine line;
    transport::SerialLink link;
    std::unique_ptr<QWidget> page;  // before the link goes
};

}  // namespace pagetest
