#pragma once
// A Pelmarq main window on a simulated device behind a pseudo-terminal, with the message
// boxes recorded.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <memory>

#include "category_container.h"
#include "device_page.h"
#include "main_dialog.h"
#include "register_device.h"
#include "simulated_line.h"
#include "ui_test_support.h"

namespace pelmarqtest {

using testsupport::Find;

class MainWindowTest : public ::testing::Test {
  protected:
    void StartDevice(sim::RegisterDeviceConfig config, sim::RegisterMap registers = {}) {
        device = std::make_shared<sim::RegisterDevice>(config, std::move(registers));
        line = std::make_unique<sim::SimulatedLine>(device);
        ASSERT_TRUE(line->Ok());
        dialog = std::make_unique<app::MainDialog>(
            std::vector<app::PortChoice>{{line->Path(), line->Path()}}, line->Path(), QString());
    }

    QPushButton* Button(const char* id) { return Find<QPushButton>(dialog.get(), id); }
    // The category tabs (ids repeat on the pages, so not by a search of the whole window).
    QTabWidget* Categories() {
        return Find<QWidget>(dialog.get(), "scroll-body")
            ->findChild<QTabWidget*>("1008", Qt::FindDirectChildrenOnly);
    }
    QLineEdit* Field(const char* id) { return Find<QLineEdit>(dialog.get(), id); }
    void ScanAndForget() {
        Button("1001")->click();
        line->ClearReceived();
        boxes.Clear();
    }
    // Selects a category and sub-tab and returns the page shown there.
    pages::DevicePage* ShowPage(int category, int sub) {
        auto* tabs = Categories();
        tabs->setCurrentIndex(category);
        if (auto* c = qobject_cast<pages::CategoryContainer*>(tabs->currentWidget()))
            c->Tabs()->setCurrentIndex(sub);
        return dialog->SelectedPage();
    }

    testsupport::BoxRecorder boxes;
    std::shared_ptr<sim::RegisterDevice> device;
    std::unique_ptr<sim::SimulatedLine> line;
    std::unique_ptr<app::MainDialog> dialog;
};

inline sim::RegisterDeviceConfig Device(std::uint8_t address, std::uint32_t baud,
                                        sim::AddressingMode mode = sim::AddressingMode::Frame) {
    sim::RegisterDeviceConfig c;
    c.address = address;
    c.baud = baud;
    c.mode = mode;
    return c;
}

inline sim::Bytes Bytes(const protocol::Frame& f) {
    return sim::Bytes(f.data(), f.data() + f.size);
}

}  // namespace pelmarqtest
