// The chart as a user drives it with the mouse and the zoom commands, the
// undo history and the export of the chart.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>
#include <cmath>

#include "gui/app/chart_view.h"
#include "gui/widgets/fmt_edit.h"
#include "gui_test_support.h"
#include "psy/air_state.h"

using namespace velmora;
using namespace velmora::gui;
using namespace velmora::test;

namespace {

class Chart : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        form = StartMainForm();
        chart = form->Chart1;
        form->resize(1200, 760);
        QApplication::processEvents();
        chart->replot();
    }
    void TearDown() override {
        form.reset();
        ClearSettings();
    }

    void send(QEvent::Type type, QPointF pos, Qt::MouseButtons buttons) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, pos, chart->mapToGlobal(pos), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(chart, &e);
    }
    QPointF at(double db, double wGkg) const {
        return {chart->BottomAxis()->coordToPixel(db), chart->RightAxis()->coordToPixel(wGkg)};
    }
    // Presses on a point, moves through the positions, releases.
    void drag(QPointF from, std::initializer_list<QPointF> path) {
        send(QEvent::MouseButtonPress, from, Qt::LeftButton);
        QPointF last = from;
        for (const QPointF& p : path) {
            send(QEvent::MouseMove, p, Qt::LeftButton);
            last = p;
        }
        send(QEvent::MouseButtonRelease, last, Qt::NoButton);
    }
    const TSpecification& spec() const { return form->Spec(); }

    std::unique_ptr<TMainForm> form;
    TChartView* chart = nullptr;
};

}  // namespace

TEST_F(Chart, DraggingTheOutdoorPointMovesTheMixAndTheCoil) {
    const TSpecification before = spec();
    chart->SetAxisRange(chart->BottomAxis(), -5, 45);
    chart->SetAxisRange(chart->RightAxis(), 0, 25);
    chart->replot();
    drag(chart->PointPixel("OA"), {at(31, 11), at(33, 12)});
    EXPECT_NEAR(spec().Ambient.db, 33, 0.05);
    EXPECT_NEAR(spec().Ambient.wa * 1000, 12, 0.05);
    EXPECT_NE(spec().OnCoil.db, before.OnCoil.db);
    EXPECT_NE(spec().Qt, before.Qt);
    EXPECT_EQ(spec().ma, before.ma);
    EXPECT_EQ(form->AmbientEd->text(), QString::fromStdString(FormatDbWb(spec().Ambient, "%0.1f")));
    // Above the saturation curve the point lands on it at the mouse's dry bulb.
    chart->SetAxisRange(chart->RightAxis(), 0, 40);
    chart->replot();
    drag(chart->PointPixel("OA"), {at(30, 33)});
    EXPECT_NEAR(spec().Ambient.db, 30, 0.05);
    EXPECT_NEAR(spec().Ambient.rh, 1, 1e-9);
    // Beyond the drag limits nothing moves.
    const double db = spec().Ambient.db;
    drag(chart->PointPixel("OA"), {at(-2, 3)});
    EXPECT_EQ(spec().Ambient.db, db);
}

TEST_F(Chart, TheMixedPointSlidesAlongTheMixingLineAndStopsAtItsEnds) {
    chart->SetAxisRange(chart->BottomAxis(), 0, 45);
    chart->replot();
    const TAirStateRec oa = spec().Ambient, sp = spec().SetPoint;
    drag(chart->PointPixel("ai"), {at(oa.db + 5, oa.wa * 1000)});
    EXPECT_EQ(spec().FreshAir, 1);
    EXPECT_NEAR(spec().OnCoil.db, oa.db, 1e-6);
    drag(chart->PointPixel("ai"), {at(sp.db - 5, sp.wa * 1000)});
    EXPECT_EQ(spec().FreshAir, 0);
    drag(chart->PointPixel("ai"), {at(sp.db + 0.5 * (oa.db - sp.db), (sp.wa + 0.5 * (oa.wa - sp.wa)) * 1000)});
    EXPECT_NEAR(spec().FreshAir, 0.5, 0.01);
    EXPECT_EQ(form->FreshAirEd->text(), QString::fromStdString(FormatFloat("%0.1f", spec().FreshAir * 100)));
}

TEST_F(Chart, TheOffCoilPointSlidesAlongTheCoilLine) {
    const TAirStateRec on = spec().OnCoil, adp = spec().ADP;
    drag(chart->PointPixel("ao"), {at(adp.db + 0.4 * (on.db - adp.db), 5)});
    EXPECT_NEAR(spec().BF, 0.4, 0.01);
    drag(chart->PointPixel("ao"), {at(adp.db - 2, adp.wa * 1000)});
    EXPECT_EQ(spec().BF, 0);
    EXPECT_NEAR(spec().OffCoil.db, adp.db, 1e-6);
}

TEST_F(Chart, TheApparatusDewPointFollowsTheWetBulbUpTo35Degrees) {
    chart->SetAxisRange(chart->BottomAxis(), 0, 45);
    chart->SetAxisRange(chart->RightAxis(), 0, 25);
    chart->replot();
    drag(chart->PointPixel("adp"), {at(14, 8)});
    EXPECT_NEAR(spec().ADP.db, WetBulb(spec().BP, 14, 0.008, 2), 0.05);
    EXPECT_NEAR(spec().ADP.rh, 1, 1e-9);
    const double adp = spec().ADP.db;
    drag(chart->PointPixel("adp"), {at(36, 8)});
    EXPECT_EQ(spec().ADP.db, adp);
}

TEST_F(Chart, ClickingTheSaturationCurveMovesNothing) {
    const TSpecification before = spec();
    const QCPRange range = chart->BottomAxis()->range();
    const double t = range.lower + 0.3 * range.size();
    const QPointF onCurve = at(t, SaturationHumidityRatio(t, spec().BP) * 1000);
    send(QEvent::MouseButtonPress, onCurve, Qt::LeftButton);
    EXPECT_EQ(chart->DragSeries(), chart->SatSeries);
    EXPECT_TRUE(chart->DragLabel().isEmpty());
    send(QEvent::MouseMove, onCurve + QPointF(60, 40), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, onCurve + QPointF(60, 40), Qt::NoButton);
    EXPECT_EQ(spec().Ambient.db, before.Ambient.db);
    EXPECT_EQ(spec().ADP.db, before.ADP.db);
    EXPECT_EQ(chart->BottomAxis()->range(), range);  // no pan either
    EXPECT_EQ(form->UndoStack()->count(), 0);
}

TEST_F(Chart, ZoomCommandsKeepTheCentreAndTheirLimits) {
    chart->SetAxisRange(chart->BottomAxis(), 10, 30);
    chart->SetAxisRange(chart->RightAxis(), 2, 12);
    form->ZoomIn->trigger();
    EXPECT_NEAR(chart->BottomAxis()->range().lower, 10.5, 1e-9);
    EXPECT_NEAR(chart->BottomAxis()->range().upper, 29.5, 1e-9);
    EXPECT_NEAR(chart->RightAxis()->range().size(), 9.5, 1e-9);
    form->ZoomOut->trigger();
    EXPECT_NEAR(chart->BottomAxis()->range().size(), 19 * 1.05, 1e-9);
    // The moisture axis grows from 0 when its minimum would fall below 0.
    chart->SetAxisRange(chart->RightAxis(), 0.2, 10.2);
    form->ZoomOut->trigger();
    EXPECT_EQ(chart->RightAxis()->range().lower, 0);
    EXPECT_NEAR(chart->RightAxis()->range().upper, 10.5, 1e-9);
    // At -60 or 100 °C zooming out stops.
    chart->SetAxisRange(chart->BottomAxis(), -60, 20);
    const QCPRange held = chart->BottomAxis()->range();
    form->ZoomOut->trigger();
    EXPECT_EQ(chart->BottomAxis()->range(), held);
    chart->SetAxisRange(chart->BottomAxis(), 50, 100);
    form->ZoomOut->trigger();
    EXPECT_EQ(chart->BottomAxis()->range().lower, 50);
    form->ZoomIdeal->trigger();
    const TSpecification& s = spec();
    EXPECT_NEAR(chart->BottomAxis()->range().lower, std::min({s.ADP.db, s.Ambient.db, s.SetPoint.db}) - 3, 1e-9);
    EXPECT_NEAR(chart->RightAxis()->range().upper,
                std::max({s.ADP.wa, s.Ambient.wa, s.SetPoint.wa}) * 1000 + 3, 1e-9);
}

TEST_F(Chart, TheCurveFollowsEveryRangeChange) {
    const int draws = chart->SaturationDraws;
    // A mouse pan on the background is the chart's own scrolling.
    const QPointF empty = at(chart->BottomAxis()->range().upper - 1, chart->RightAxis()->range().lower + 0.5);
    drag(empty, {empty + QPointF(-80, 0)});
    EXPECT_GT(chart->SaturationDraws, draws);
    const QCPRange r = chart->BottomAxis()->range();
    EXPECT_NEAR(chart->SatSeries->data()->begin()->key, r.lower - 5, 1e-9);
    EXPECT_NEAR((chart->SatSeries->data()->end() - 1)->key, r.upper, 1e-9);
    EXPECT_EQ(chart->SatSeries->dataCount(), 51);
    // Background lines are rebuilt with it.
    EXPECT_EQ(chart->HumidityLines.size(), 9);
    EXPECT_FALSE(chart->WetBulbLines.isEmpty());
}

TEST_F(Chart, UndoStepsBackThroughFieldEditsAndWholeDrags) {
    const TSpecification start = spec();
    TypeAndLeave(form->AmbientEd, "34/24");
    ASSERT_EQ(form->UndoStack()->count(), 1);
    EXPECT_EQ(form->UndoStack()->undoText(), "Ambient");
    // A drag of many moves is one step.
    chart->SetAxisRange(chart->BottomAxis(), 0, 45);
    chart->replot();
    drag(chart->PointPixel("adp"), {at(12, 7), at(13, 7.5), at(14, 8), at(15, 8.5)});
    ASSERT_EQ(form->UndoStack()->count(), 2);
    EXPECT_EQ(form->UndoStack()->undoText(), "Drag adp");
    const double adpAfter = spec().ADP.db;

    form->EditUndo->trigger();
    EXPECT_EQ(spec().ADP.db, start.ADP.db);
    EXPECT_EQ(spec().Ambient.db, 34);
    EXPECT_EQ(form->ADPEd->text(), "9.0");
    form->EditUndo->trigger();
    EXPECT_EQ(spec().Ambient.db, start.Ambient.db);
    EXPECT_EQ(form->AmbientEd->text(), "30.0/20.0");
    form->EditRedo->trigger();
    form->EditRedo->trigger();
    EXPECT_EQ(spec().ADP.db, adpAfter);
    // Units and axes are not part of a step.
    form->AmbLabel->ChooseUnits(1);
    const QCPRange axes = chart->BottomAxis()->range();
    form->EditUndo->trigger();
    EXPECT_EQ(form->AmbientEd->UnitsValue(), 1);
    EXPECT_EQ(chart->BottomAxis()->range(), axes);
    // New and Open are steps too.
    form->FileNew->trigger();
    EXPECT_EQ(form->UndoStack()->undoText(), "New Project");
    form->EditUndo->trigger();
    EXPECT_EQ(spec().Ambient.db, 34);
}

TEST_F(Chart, ExportWritesPngPdfAndSvg) {
    QTemporaryDir dir;
    MessageLog log;
    for (const char* ext : {"png", "pdf", "svg"}) {
        const QString file = dir.path() + "/chart." + ext;
        form->ExportFileChooser = [&](const QString&) { return file; };
        form->FileExportChart->trigger();
        EXPECT_GT(QFileInfo(file).size(), 1000) << ext;
    }
    QFile png(dir.path() + "/chart.png");
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    EXPECT_TRUE(png.read(8).startsWith("\x89PNG"));
    form->ExportFileChooser = [&](const QString&) { return dir.path() + "/missing/folder/chart.png"; };
    form->FileExportChart->trigger();
    ASSERT_EQ(log.texts.size(), 1);
    EXPECT_TRUE(log.texts[0].startsWith("Unable to write to "));
}
