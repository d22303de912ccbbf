#include "gui/app/application.h"

#include <QLocale>
#include <exception>

#include "gui/platform/messages.h"

static void initVelmoraResources() { Q_INIT_RESOURCE(velmora); }

namespace velmora::gui {

void InitGuiResources() { initVelmoraResources(); }

VelmoraApplication::VelmoraApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName("Velmora");
    setApplicationDisplayName("Velmora");
    setOrganizationName("Aldermoor");
    // Number text is always "." and ","; no widget follows the user's locale.
    QLocale::setDefault(QLocale::c());
    InitGuiResources();
}

bool VelmoraApplication::notify(QObject* receiver, QEvent* e) {
    try {
        return QApplication::notify(receiver, e);
    } catch (const std::exception& ex) {
        ShowError(QString::fromUtf8(ex.what()));
    } catch (...) {
        ShowError(QStringLiteral("An unexpected error occurred..."));
    }
    return false;
}

}  // namespace velmora::gui
