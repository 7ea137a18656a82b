#pragma once
// The About entry of a dialog: Linux window managers have no system menu to extend, so the
// entry goes into the dialog's context menu (right click on its background) and F1 opens the
// same box.
#include <QString>

class QDialog;
class QIcon;

namespace ui {

struct AboutText {
    QString menuEntry;  // "关于 Pelmarq(&A)..."
    QString caption;    // "关于Pelmarq"
    QString name;       // "PelmarqV3.6"
    QString line;       // the second line
};

void InstallAboutBox(QDialog* dialog, const AboutText& text, const QIcon& icon);
// Shows the About box modally (also used by tests, through the context menu's action).
void ShowAboutBox(QDialog* owner, const AboutText& text, const QIcon& icon);

}  // namespace ui
