#pragma once
// The application object: an exception that leaves an event handler is shown
// in the standard error box and the program goes on.
#include <QApplication>

namespace velmora::gui {

// Registers the icons and images compiled into the program (a static
// library's resources are not registered by themselves).
void InitGuiResources();

class VelmoraApplication : public QApplication {
    Q_OBJECT
public:
    VelmoraApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* e) override;
};

}  // namespace velmora::gui
