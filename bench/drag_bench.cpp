// One drag step on the chart: the model alone, the model with the fields and
// the undo step, and the replot that follows. Runs offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <memory>

#include "gui/app/application.h"
#include "gui/app/chart_view.h"
#include "gui/app/main_window.h"
#include "gui/platform/settings_store.h"
#include "refrig/refrig_lib.h"
#include "spec/spec_edits.h"

using namespace velmora;
using namespace velmora::gui;

namespace {
TRefrigLib* g_lib;
TMainForm* g_form;

void BM_DragModel(benchmark::State& st) {
    TSpecification s;
    s.NewSpecification(*g_lib);
    int i = 0;
    for (auto _ : st) {
        const double db = 30 + 0.01 * (i++ % 100);
        benchmark::DoNotOptimize(DragPoint(s, "OA", db, 0.011));
    }
}
BENCHMARK(BM_DragModel)->Unit(benchmark::kMicrosecond);

// Mouse position -> core edit -> fields refreshed -> chart series refilled
// (the replot itself is queued and measured below).
void BM_DragStepModelAndFields(benchmark::State& st) {
    TChartView* c = g_form->Chart1;
    const QPointF p = c->PointPixel("OA");
    c->Chart1ClickSeries(c->MixSeries, "OA");
    int i = 0;
    for (auto _ : st) {
        const double dx = (i++ % 40) - 20;
        benchmark::DoNotOptimize(c->Chart1MouseMove(Qt::LeftButton, p.x() + dx, p.y()));
    }
    c->Chart1MouseUp();
}
BENCHMARK(BM_DragStepModelAndFields)->Unit(benchmark::kMicrosecond);

void BM_Replot(benchmark::State& st) {
    TChartView* c = g_form->Chart1;
    for (auto _ : st) c->replot(QCustomPlot::rpImmediateRefresh);
}
BENCHMARK(BM_Replot)->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString home = QDir::tempPath() + "/velmora-bench-" + QString::number(::getpid());
    qputenv("HOME", home.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home + "/.config").toLocal8Bit());
    VelmoraApplication app(argc, argv);
    InitFolders();
    TRefrigLib lib("");
    g_lib = &lib;
    auto form = std::make_unique<TMainForm>(lib, QStringList{});
    form->resize(1280, 800);
    form->show();
    QApplication::processEvents();
    g_form = form.get();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    form.reset();
    QDir(home).removeRecursively();
    return 0;
}
