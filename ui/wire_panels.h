#pragma once
// The panels a main window docks under its pages: the traffic view and, where the window
// polls values, the trend. Both start hidden; a push button and a shortcut each show and hide
// them ("通信监视", Ctrl+T; "趋势", Ctrl+G), and each may float as a window of its own. The
// main windows are dialogs, so the docks live in a small QMainWindow of their own that takes
// room only while a panel is docked and shown.
#include <QObject>

#include "serial_link.h"

class QDockWidget;
class QMainWindow;
class QPushButton;
class QWidget;

namespace ui {

class TrafficView;
class TrendView;

class WirePanels : public QObject {
    Q_OBJECT
  public:
    // Children of `window`; with `trend`, the trend panel too.
    WirePanels(transport::SerialLink& link, QWidget* window, bool trend);

    // What the window lays out: the docks' host (under the pages) and the toggle buttons
    // (beside the status line).
    QWidget* Host() const;
    QWidget* Buttons() const { return buttons_; }

    TrafficView& Traffic() const { return *traffic_; }
    TrendView* Trend() const { return trend_; }
    QDockWidget* TrafficDock() const { return trafficDock_; }
    QDockWidget* TrendDock() const { return trendDock_; }

    void ShowTraffic(bool on);
    void ShowTrend(bool on);

  private:
    QDockWidget* AddDock(QWidget* view, const QString& title, const char* name);
    QPushButton* AddToggle(QDockWidget* dock, const QString& text, const char* name, int key);
    // The host is shown while some panel is docked and shown.
    void UpdateHost();

    QMainWindow* host_ = nullptr;
    QWidget* buttons_ = nullptr;
    TrafficView* traffic_ = nullptr;
    TrendView* trend_ = nullptr;
    QDockWidget* trafficDock_ = nullptr;
    QDockWidget* trendDock_ = nullptr;
};

}  // namespace ui
