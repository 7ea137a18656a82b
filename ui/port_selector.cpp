#include "port_selector.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>

#include "port_discovery.h"

namespace ui {
namespace {

void AddOnce(std::vector<std::string>& paths, const std::string& path) {
    if (!path.empty() && std::find(paths.begin(), paths.end(), path) == paths.end())
        paths.push_back(path);
}

}  // namespace

PortSelector::PortSelector(QWidget* parent) : QComboBox(parent) {
    setObjectName("1000");
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Inline completion would turn a typed "/dev/ttyUSB1" into a listed "/dev/ttyUSB10".
    setCompleter(nullptr);
    // Return in the field adds the path; it must not reach the dialog's default button.
    lineEdit()->installEventFilter(this);
    refreshTimer_.setInterval(kRefreshMs);
    connect(&refreshTimer_, &QTimer::timeout, this, [this] { RefreshTick(); });
    refreshTimer_.start();
}

void PortSelector::KeepPaths(const std::vector<std::string>& paths) {
    for (const std::string& p : paths) AddOnce(kept_, p);
}

int PortSelector::IndexOfPath(const std::string& path) const {
    return findData(QString::fromStdString(path));
}

std::string PortSelector::PathAt(int index) const {
    return index < 0 ? std::string() : itemData(index).toString().toStdString();
}

void PortSelector::AddPath(const std::string& typed) {
    const std::string path = QString::fromStdString(typed).trimmed().toStdString();
    if (path.empty()) return;
    // An entry's own label typed out selects that entry.
    const int listed = findText(QString::fromStdString(path));
    if (listed >= 0) return setCurrentIndex(listed);
    AddOnce(typed_, path);
    int index = IndexOfPath(path);
    if (index < 0) {
        addItem(QString::fromStdString(path), QString::fromStdString(path));
        index = count() - 1;
    }
    setCurrentIndex(index);
}

std::string PortSelector::SelectedPath() const {
    const QString text = currentText().trimmed();
    const int index = currentIndex();
    if (index >= 0 && itemText(index) == text) return PathAt(index);
    const int listed = findText(text);
    if (listed >= 0) return PathAt(listed);
    return text.toStdString();
}

void PortSelector::RememberRemotePorts(const QString& program) {
    history_.emplace(program);
    remote_ = history_->Ports();
    // Listed after the local ports; what was selected (or that nothing was) stays so.
    const int selected = currentIndex();
    for (const std::string& path : remote_) {
        if (IndexOfPath(path) < 0)
            addItem(QString::fromStdString(path), QString::fromStdString(path));
    }
    setCurrentIndex(selected);
}

void PortSelector::Used(const std::string& path) {
    if (!history_) return;
    history_->Remember(path);
    remote_ = history_->Ports();
}

void PortSelector::Refresh() {
    const std::string selected = PathAt(currentIndex());
    // Text the user is typing (not an entry's label) survives the new list.
    const bool typing =
        currentIndex() < 0 ? !currentText().isEmpty() : currentText() != itemText(currentIndex());
    const QString text = currentText();
    const int cursor = lineEdit()->cursorPosition();

    std::vector<std::string> keep = kept_;
    for (const std::string& p : typed_) AddOnce(keep, p);
    for (const std::string& p : remote_) AddOnce(keep, p);
    AddOnce(keep, selected);
    const std::vector<transport::PortEntry> ports = transport::SelectablePorts(keep);

    bool same = static_cast<int>(ports.size()) == count();
    for (int i = 0; same && i < count(); ++i)
        same = PathAt(i) == ports[i].path && itemText(i).toStdString() == ports[i].Label();
    if (same) return;

    clear();
    for (const transport::PortEntry& p : ports)
        addItem(QString::fromStdString(p.Label()), QString::fromStdString(p.path));
    // A new list with nothing chosen yet offers its first port, as at start.
    const int index = IndexOfPath(selected);
    setCurrentIndex(index >= 0 ? index : (selected.empty() && count() > 0 ? 0 : -1));
    if (typing) {
        setEditText(text);
        lineEdit()->setCursorPosition(cursor);
    }
}

void PortSelector::RefreshTick() {
    if (portOpen_ && portOpen_()) return;
    if (view()->isVisible()) return;
    Refresh();
}

void PortSelector::showPopup() {
    Refresh();
    QComboBox::showPopup();
}

bool PortSelector::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            AddPath(lineEdit()->text().toStdString());
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

}  // namespace ui
