// Velmora: program entry.
#include <QMessageBox>
#include <memory>

#include "gui/app/application.h"
#include "gui/app/main_window.h"
#include "gui/platform/settings_store.h"
#include "gui/shell/about_box.h"
#include "refrig/refrig_lib.h"

int main(int argc, char** argv) {
    using namespace velmora;
    using namespace velmora::gui;
    VelmoraApplication app(argc, argv);
    try {
        InitFolders();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, "Velmora", QString::fromUtf8(e.what()));
        return 1;
    }
    ReadSplashSetting();
    TRefrigLib refrigLib((AppFolders().SharedFilesFolder + "RefLib8.rdf").toStdString());
    QStringList args = app.arguments();
    args.removeFirst();
    TMainForm form(refrigLib, args);
    form.AboutBoxDlg1->FinishSplash();
    form.show();
    return app.exec();
}
