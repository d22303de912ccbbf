#pragma once
// Helpers of the GUI tests: the messages the program would have shown, a
// fresh settings store, and a started main window.
#include <QDir>
#include <QStringList>
#include <memory>

#include "gui/app/main_window.h"
#include "gui/platform/messages.h"
#include "refrig/refrig_lib.h"

#include <ostream>

// Readable QString values in test failures.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace velmora::test {

QString& HomeDir();

// Collects the messages instead of showing boxes.
class MessageLog {
public:
    MessageLog();
    ~MessageLog();
    QStringList texts;
    QList<gui::MessageKind> kinds;
};

// Removes every stored setting of the program.
void ClearSettings();

TRefrigLib& SharedRefrigLib();

// A main window as the program creates it, shown and active.
std::unique_ptr<gui::TMainForm> StartMainForm(const QStringList& args = {});

// Types text into an edit (after selecting what is there) and leaves it with Tab.
void TypeAndLeave(QWidget* edit, const QString& text);

}  // namespace velmora::test
