#pragma once
// The program's message boxes, in one place so that tests can read them
// instead of clicking them away.
#include <QString>
#include <functional>

class QWidget;

namespace velmora::gui {

enum class MessageKind { Information, Warning, Error };

// Shows a plain message box with an OK button.
void ShowMessage(const QString& text, MessageKind kind = MessageKind::Information, QWidget* parent = nullptr);
// The application's standard error box.
void ShowError(const QString& text, QWidget* parent = nullptr);

// Replaces the message boxes (tests); an empty function restores them.
using MessageSink = std::function<void(MessageKind, const QString&)>;
void SetMessageSink(MessageSink sink);

// Runs a handler body; any exception that leaves it is shown in the standard
// error box and the program goes on. Returns false when it failed.
bool Guarded(const std::function<void()>& body, QWidget* parent = nullptr);

}  // namespace velmora::gui
