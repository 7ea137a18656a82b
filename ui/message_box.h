#pragma once
// Every message box of both programs passes through here: shown with QMessageBox in the
// programs, recorded (and answered) by tests.
#include <QString>
#include <functional>

class QWidget;

namespace ui {

enum class BoxIcon { None, Information, Warning, Question, Stop };
enum class BoxButtons { Ok, YesNo };
enum class BoxAnswer { Ok, Yes, No };

// The object names of a question's two buttons (their control ids), where it has them.
struct AskNames {
    QString yes;
    QString no;
};

struct BoxRequest {
    QWidget* owner = nullptr;
    QString text;
    QString caption;
    BoxIcon icon = BoxIcon::None;
    BoxButtons buttons = BoxButtons::Ok;
    AskNames names{};
};

// Shows a box with the program's default caption (its name, "Pelmarq" or "Quillet").
void Message(QWidget* owner, const QString& text, BoxIcon icon = BoxIcon::None);
// Shows a box with the given caption; an empty caption stays empty.
void Message(QWidget* owner, const QString& text, const QString& caption, BoxIcon icon);
// A 是/否 question. Closing the box any other way (Esc, the close button) answers No.
BoxAnswer Ask(QWidget* owner, const QString& text, const QString& caption, BoxIcon icon,
              const AskNames& names = {});

void SetDefaultCaption(const QString& caption);
QString DefaultCaption();

// Replaces the real boxes (tests). Passing an empty function restores them.
using BoxHandler = std::function<BoxAnswer(const BoxRequest&)>;
void SetBoxHandler(BoxHandler handler);

}  // namespace ui
