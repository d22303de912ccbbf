#include "gui/platform/messages.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>

namespace velmora::gui {
namespace {
MessageSink g_sink;
}

void SetMessageSink(MessageSink sink) { g_sink = std::move(sink); }

void ShowMessage(const QString& text, MessageKind kind, QWidget* parent) {
    if (g_sink) {
        g_sink(kind, text);
        return;
    }
    if (!parent) parent = QApplication::activeWindow();
    const QString title = QApplication::applicationDisplayName().isEmpty() ? QStringLiteral("Velmora")
                                                                           : QApplication::applicationDisplayName();
    switch (kind) {
    case MessageKind::Information: QMessageBox::information(parent, title, text); break;
    case MessageKind::Warning: QMessageBox::warning(parent, title, text); break;
    case MessageKind::Error: QMessageBox::critical(parent, title, text); break;
    }
}

void ShowError(const QString& text, QWidget* parent) { ShowMessage(text, MessageKind::Error, parent); }

bool Guarded(const std::function<void()>& body, QWidget* parent) {
    try {
        body();
        return true;
    } catch (const std::exception& e) {
        ShowError(QString::fromUtf8(e.what()), parent);
    } catch (...) {
        ShowError(QStringLiteral("An unexpected error occurred..."), parent);
    }
    return false;
}

}  // namespace velmora::gui
