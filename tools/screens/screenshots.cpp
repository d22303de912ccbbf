// Renders Velmora's windows offscreen into PNG files, for looking at them and
// for the README: velmora-screenshots OUTPUT_FOLDER
#include <QDir>
#include <QStandardPaths>
#include <QTimer>
#include <QToolButton>

#include "gui/app/application.h"
#include "gui/app/chart_view.h"
#include "gui/app/main_window.h"
#include "gui/platform/settings_store.h"
#include "gui/shell/about_box.h"
#include "gui/widgets/fmt_edit.h"
#include "refrig/refrig_lib.h"
#include "spec/spec_edits.h"

using namespace velmora;
using namespace velmora::gui;

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screens");
    QDir().mkpath(out);
    const QString home = QDir::tempPath() + "/velmora-screens-" + QString::number(QCoreApplication::applicationPid());
    qputenv("HOME", home.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home + "/.config").toLocal8Bit());
    VelmoraApplication app(argc, argv);
    InitFolders();
    TRefrigLib lib((AppFolders().SharedFilesFolder + "RefLib8.rdf").toStdString());
    auto shot = [&](QWidget* w, const QString& name) {
        QApplication::processEvents();
        w->grab().save(out + "/" + name + ".png");
    };
    {
        TMainForm form(lib, {});
        form.resize(1280, 800);
        form.show();
        shot(&form, "main-start");
        for (int i = 0; i < kSpecFieldCount; ++i) {
            auto* e = form.FieldEdit(static_cast<SpecField>(i));
            if (e->UnitsType() == utTemperature) e->SetUnitsValue(1);
        }
        form.AirFlowEd->SetUnitsValue(4);
        form.BarometerEd->SetUnitsValue(4);
        form.TotalDutyEd->SetUnitsValue(2);
        form.ShowSpecification();
        shot(&form, "main-ip-units");
        form.resize(form.minimumSize());
        shot(&form, "main-minimum");
        form.resize(1280, 800);
        form.Chart1->ZoomInButtonClick();
        for (int i = 0; i < 8; ++i) form.Chart1->ZoomInButtonClick();
        shot(&form, "chart-zoomed-in");
        for (int i = 0; i < 25; ++i) form.Chart1->ZoomOutButtonClick();
        shot(&form, "chart-zoomed-out");
        form.Chart1->ZoomIdealButtonClick();
        for (const char* label : {"OA", "SP", "ai", "ao", "adp"}) {
            const QPointF p = form.Chart1->PointPixel(label);
            form.Chart1->Chart1ClickSeries(form.Chart1->SatSeries, label);
            form.Chart1->Chart1MouseMove(Qt::LeftButton, p.x() - 40, p.y() + 30);
            form.Chart1->Chart1MouseUp();
            shot(&form, QString("chart-drag-%1").arg(label));
        }
        form.AboutBoxDlg1->BeforeModal = [&](TAboutBox* box) {
            box->show();
            shot(box, "about-box");
        };
        form.HelpAbout->trigger();
        form.close();
    }
    QDir(home).removeRecursively();
    return 0;
}
