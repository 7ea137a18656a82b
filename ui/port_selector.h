#pragma once
// The port selector both programs share (control 1000): the serial ports this user can
// open, listed again each time the drop-down opens and every 2 s while no port is open, so
// an adapter that comes back under another name can be picked without a restart. A path
// the system does not list (a pseudo-terminal, a device server's "tcp://HOST:PORT") can be
// typed; Return adds and selects it. The network ports a program opened before are listed
// after the local ones.
#include <QComboBox>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "remote_port_history.h"

namespace ui {

class PortSelector : public QComboBox {
    Q_OBJECT
  public:
    static constexpr int kRefreshMs = 2000;

    explicit PortSelector(QWidget* parent = nullptr);

    // Paths every refresh keeps listed (named on the command line, the demo's line).
    void KeepPaths(const std::vector<std::string>& paths);
    // Lists `path` (once) and selects it; nothing is opened. Empty paths are ignored.
    void AddPath(const std::string& path);
    // What a scan opens: the selected entry's path, or the text typed but not yet entered.
    std::string SelectedPath() const;

    // Lists the network ports `program` opened before, and keeps those it opens from now on.
    void RememberRemotePorts(const QString& program);
    // The program opened `path`: a network port is listed again at the next start.
    void Used(const std::string& path);

    // Lists the system's ports again, with the kept, typed and selected paths; keeps the
    // selection and any text being typed.
    void Refresh();
    // One tick of the 2 s timer: a refresh unless a port is open or the list is showing.
    void RefreshTick();
    // Asked by the timer whether the program's port is open.
    void SetPortOpen(std::function<bool()> isOpen) { portOpen_ = std::move(isOpen); }
    const QTimer& RefreshTimer() const { return refreshTimer_; }

    void showPopup() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    int IndexOfPath(const std::string& path) const;
    std::string PathAt(int index) const;

    std::vector<std::string> kept_;
    std::vector<std::string> typed_;
    std::optional<RemotePortHistory> history_;
    std::vector<std::string> remote_;  // the history's ports, newest first
    std::function<bool()> portOpen_;
    QTimer refreshTimer_;
};

}  // namespace ui
