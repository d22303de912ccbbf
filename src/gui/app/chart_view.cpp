#include "gui/app/chart_view.h"

#include <QFileInfo>
#include <QPainter>
#include <QSvgGenerator>
#include <cmath>
#include <string_view>

#include "common/errors.h"
#include "gui/app/main_window.h"
#include "gui/platform/messages.h"
#include "psy/air_state.h"
#include "spec/spec_edits.h"

namespace velmora::gui {
namespace {

// TColor values of the original chart (BGR order).
QColor bgr(unsigned v) { return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF); }

const QColor kRed(205, 35, 35);
const QColor kGreen(20, 150, 60);
const QColor kHumidity(150, 190, 230);
const QColor kWetBulb(150, 200, 150);

}  // namespace

TChartView::TChartView(QWidget* parent) : QCustomPlot(parent) {
    setBackground(Qt::white);
    setCursor(Qt::PointingHandCursor);
    setAntialiasedElements(QCP::aeAll);
    setNoAntialiasingOnDrag(true);
    axisRect()->setupFullAxesBox(false);
    xAxis->setLabel(tr("Dry Bulb, °C"));
    yAxis->setVisible(false);
    xAxis2->setVisible(false);
    yAxis2->setVisible(true);
    yAxis2->setTickLabels(true);
    yAxis2->setLabel(tr("Humidity, g/kg"));
    for (QCPAxis* a : {xAxis, yAxis2}) {
        a->grid()->setVisible(true);
        a->grid()->setPen(QPen(QColor(225, 228, 232), 0, Qt::SolidLine));
        a->grid()->setSubGridVisible(false);
        a->setBasePen(QPen(QColor(90, 90, 90)));
        a->setTickPen(QPen(QColor(90, 90, 90)));
        a->setSubTickPen(QPen(QColor(120, 120, 120)));
    }
    xAxis->setRange(0, 25);
    yAxis2->setRange(0, 20);
    axisRect()->setRangeDragAxes(xAxis, yAxis2);
    axisRect()->setRangeZoomAxes(xAxis, yAxis2);
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);

    SatSeries = newLine(kRed, Qt::SolidLine, 2.0);
    SatSeries->setName("SatSeries");
    MixSeries = newLine(kRed, Qt::SolidLine, 1.6);
    MixSeries->setName("MixSeries");
    MixSeries->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, kRed, Qt::white, 9));
    CoolerSeries = newLine(kGreen, Qt::SolidLine, 1.6);
    CoolerSeries->setName("CoolerSeries");
    CoolerSeries->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, kGreen, Qt::white, 9));
    OffCoilSeries = newLine(bgr(12615680), Qt::SolidLine, 1.6);
    OffCoilSeries->setName("OffCoilSeries");
    OffCoilSeries->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssTriangle, bgr(12615680), bgr(16744576), 11));
    for (QCPGraph* g : {SatSeries, MixSeries, CoolerSeries, OffCoilSeries}) g->setLayer("main");

    // Chart1AllowScroll: the curves follow every change of the axis range.
    connect(xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this, [this] {
        if (!inRangeChange_) DrawSaturation();
    });
    connect(yAxis2, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this, [this] {
        if (!inRangeChange_) DrawSaturation();
    });
}

void TChartView::Attach(TVelmoraForm* form) { form_ = form; }

QCPGraph* TChartView::newLine(const QColor& c, Qt::PenStyle style, double width) {
    QCPGraph* g = addGraph(xAxis, yAxis2);
    g->setPen(QPen(c, width, style));
    g->setLineStyle(QCPGraph::lsLine);
    g->setAdaptiveSampling(false);
    return g;
}

void TChartView::label(QCPGraph*, const QString& text, double x, double y, const QColor& colour, Qt::Alignment align) {
    auto* t = new QCPItemText(this);
    t->position->setAxes(xAxis, yAxis2);
    t->position->setCoords(x, y);
    t->setPositionAlignment(align);
    t->setText(text);
    QFont f = font();
    f.setPixelSize(10);
    t->setFont(f);
    t->setColor(colour);
    t->setClipToAxisRect(true);
    backgroundLabels_ << t;
}

void TChartView::clearBackground() {
    for (QCPGraph* g : HumidityLines + WetBulbLines) removeGraph(g);
    HumidityLines.clear();
    WetBulbLines.clear();
    for (QCPItemText* t : backgroundLabels_) removeItem(t);
    backgroundLabels_.clear();
}

void TChartView::DrawSaturation() {
    if (!form_) return;
    const double P = form_->Spec().BP;
    ++SaturationDraws;
    const double lo = xAxis->range().lower - 5, hi = xAxis->range().upper;
    QVector<double> xs, ys;
    for (int i = 0; i <= 50; ++i) {
        const double t = lo + (hi - lo) * i / 50;
        xs << t;
        ys << SaturationHumidityRatio(t, P) * 1000;
    }
    SatSeries->setData(xs, ys, true);

    // Behind the process: relative humidity every 10 % and wet bulb lines.
    clearBackground();
    const double yTop = yAxis2->range().upper, span = hi - (lo + 5);
    for (int pct = 10; pct <= 90; pct += 10) {
        QCPGraph* g = newLine(kHumidity, Qt::SolidLine, 0.8);
        QVector<double> hx, hy;
        double lx = NAN, ly = NAN;
        for (int i = 0; i <= 60; ++i) {
            const double t = lo + (hi - lo) * i / 60;
            TAirStateRec r;
            SetState(r, P, t, pct / 100.0, 3);
            if (PsyStatus() != 0) continue;
            hx << t;
            hy << r.wa * 1000;
            if (r.wa * 1000 < yTop * 0.94 && t < hi - span * 0.04) { lx = t; ly = r.wa * 1000; }
        }
        g->setData(hx, hy, true);
        g->setLayer("grid");
        HumidityLines << g;
        if (std::isfinite(lx)) label(g, QString("%1%").arg(pct), lx, ly, QColor(90, 130, 175), Qt::AlignRight | Qt::AlignBottom);
    }
    const double step = span > 40 ? 5 : span > 15 ? 2 : 1;
    for (double wb = std::ceil((lo + 5) / step) * step; wb <= hi; wb += step) {
        TAirStateRec sat;
        SetState(sat, P, wb, wb, 0);
        if (PsyStatus() != 0) continue;
        QCPGraph* g = newLine(kWetBulb, Qt::DashLine, 0.8);
        QVector<double> wx, wy;
        wx << wb;
        wy << sat.wa * 1000;
        for (double db = wb + 1; db <= hi + span; db += std::max(1.0, span / 20)) {
            TAirStateRec r;
            SetState(r, P, db, wb, 0);
            if (r.wa < 0 || PsyStatus() != 0) break;
            wx << db;
            wy << r.wa * 1000;
        }
        g->setData(wx, wy, true);
        g->setLayer("grid");
        WetBulbLines << g;
        if (sat.wa * 1000 < yTop && wb > lo + 5)
            label(g, QString("%1°").arg(wb), wb, sat.wa * 1000, QColor(70, 130, 70), Qt::AlignRight | Qt::AlignBottom);
    }
    replot(QCustomPlot::rpQueuedReplot);
}

void TChartView::DrawProcess() {
    if (!form_) return;
    const TSpecification& s = form_->Spec();
    for (QCPItemText* t : pointLabels_) removeItem(t);
    pointLabels_.clear();
    auto fill = [](QCPGraph* g, std::initializer_list<const TAirStateRec*> pts) {
        QVector<double> x, y;
        for (const TAirStateRec* p : pts) {
            x << p->db;
            y << p->wa * 1000;
        }
        g->setData(x, y);  // ordered by ascending dry bulb, as the series sort
    };
    fill(MixSeries, {&s.Ambient, &s.SetPoint});
    fill(CoolerSeries, {&s.OnCoil, &s.ADP});
    fill(OffCoilSeries, {&s.OffCoil});
    const std::pair<const char*, const TAirStateRec*> labels[] = {
        {"OA", &s.Ambient}, {"SP", &s.SetPoint}, {"ai", &s.OnCoil}, {"adp", &s.ADP}, {"ao", &s.OffCoil}};
    QFont f("Arial Narrow");
    f.setBold(true);
    f.setPixelSize(11);
    for (const auto& [name, st] : labels) {
        auto* t = new QCPItemText(this);
        t->position->setAxes(xAxis, yAxis2);
        t->position->setCoords(st->db, st->wa * 1000);
        // The coil points carry their labels below, so that "ai" stays
        // readable when it sits on "SP" (no fresh air).
        const bool below = std::string_view(name) == "ai" || std::string_view(name) == "ao";
        t->setPositionAlignment(Qt::AlignHCenter | (below ? Qt::AlignTop : Qt::AlignBottom));
        t->setPadding(below ? QMargins(0, 7, 0, 0) : QMargins(0, 0, 0, 7));
        t->setText(name);
        t->setFont(f);
        t->setColor(Qt::black);
        t->setClipToAxisRect(true);
        t->setObjectName(name);
        pointLabels_ << t;
    }
    replot(QCustomPlot::rpQueuedReplot);
}

void TChartView::SetAxisRange(QCPAxis* axis, double a, double b) {
    if (a > b) std::swap(a, b);
    axis->setRange(a, b);
}

void TChartView::SetIdealAxes() {
    if (!form_) return;
    const TSpecification& s = form_->Spec();
    const double dbLo = std::min({s.ADP.db, s.Ambient.db, s.SetPoint.db}) - 3;
    const double dbHi = std::max({s.ADP.db, s.Ambient.db, s.SetPoint.db}) + 3;
    const double wLo = std::min({s.ADP.wa, s.Ambient.wa, s.SetPoint.wa}) * 1000 - 3;
    const double wHi = std::max({s.ADP.wa, s.Ambient.wa, s.SetPoint.wa}) * 1000 + 3;
    inRangeChange_ = true;
    SetAxisRange(xAxis, dbLo, dbHi);
    SetAxisRange(yAxis2, wLo, wHi);
    inRangeChange_ = false;
}

void TChartView::ZoomIdealButtonClick() {
    SetIdealAxes();
    DrawSaturation();
}

void TChartView::ZoomInButtonClick() {
    inRangeChange_ = true;
    for (QCPAxis* a : {xAxis, yAxis2}) {
        const double c = a->range().center(), span = a->range().size() * 0.95;
        SetAxisRange(a, c - span / 2, c + span / 2);
    }
    inRangeChange_ = false;
    DrawSaturation();
}

void TChartView::ZoomOutButtonClick() {
    if (!(xAxis->range().lower > -60 && xAxis->range().upper < 100)) return;
    inRangeChange_ = true;
    for (QCPAxis* a : {xAxis, yAxis2}) {
        const double c = a->range().center(), span = a->range().size() * 1.05;
        double lo = c - span / 2, hi = c + span / 2;
        if (a == yAxis2 && lo < 0) {
            lo = 0;
            hi = span;
        }
        SetAxisRange(a, lo, hi);
    }
    inRangeChange_ = false;
    DrawSaturation();
}

QPointF TChartView::PointPixel(const QString& name) const {
    if (!form_) return {};
    const TSpecification& s = form_->Spec();
    const TAirStateRec* st = name == "OA" ? &s.Ambient : name == "SP" ? &s.SetPoint : name == "ai" ? &s.OnCoil
                           : name == "adp" ? &s.ADP : &s.OffCoil;
    return {xAxis->coordToPixel(st->db), yAxis2->coordToPixel(st->wa * 1000)};
}

void TChartView::Chart1ClickSeries(QCPGraph* series, const QString& name) {
    dragSeries_ = series;
    dragLabel_ = name;
    ++dragId_;  // the moves of one drag merge into one step
}

void TChartView::Chart1MouseUp() {
    const bool wasDragging = !dragLabel_.isEmpty();
    dragSeries_ = nullptr;
    dragLabel_.clear();
    if (wasDragging) emit dragFinished();
}

bool TChartView::Chart1MouseMove(Qt::MouseButtons buttons, double x, double y) {
    if (!form_) return false;
    const double db = xAxis->pixelToCoord(x);
    const double W = yAxis2->pixelToCoord(y) * 0.001;
    if (!std::isfinite(db) || !std::isfinite(W)) return false;
    if (!(buttons & Qt::LeftButton) || dragLabel_.isEmpty()) return false;
    bool changed = false;
    const QString picked = dragLabel_;
    const bool ok = Guarded(
        [&] {
            TSpecification s = form_->Spec();
            if (!DragPoint(s, picked.toStdString(), db, W)) return;
            form_->ChangeSpecification(tr("Drag %1").arg(picked), s, dragId_);
            changed = true;
        },
        form_);
    // After an error the drag ends: the next move must not raise it again.
    if (!ok) {
        Chart1MouseUp();
        setInteraction(QCP::iRangeDrag, true);
    }
    return changed;
}

QString TChartView::pick(const QPointF& pos, QCPGraph** series) const {
    // The nearest labelled point within reach, else the saturation curve.
    const std::pair<const char*, QCPGraph*> points[] = {
        {"ao", OffCoilSeries}, {"adp", CoolerSeries}, {"ai", CoolerSeries}, {"OA", MixSeries}, {"SP", MixSeries}};
    double best = 10.0;
    QString found;
    *series = nullptr;
    for (const auto& [name, g] : points) {
        const QPointF p = PointPixel(name);
        const double d = std::hypot(p.x() - pos.x(), p.y() - pos.y());
        if (d < best) {
            best = d;
            found = name;
            *series = g;
        }
    }
    if (!found.isEmpty()) return found;
    if (SatSeries->selectTest(pos, false) >= 0 && SatSeries->selectTest(pos, false) < 5) *series = SatSeries;
    return {};
}

void TChartView::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        QCPGraph* series = nullptr;
        const QString name = pick(e->position(), &series);
        if (series) {
            Chart1ClickSeries(series, name);
            setInteraction(QCP::iRangeDrag, false);  // the point moves, not the chart
            e->accept();
            return;
        }
    }
    QCustomPlot::mousePressEvent(e);
}

void TChartView::mouseMoveEvent(QMouseEvent* e) {
    if (dragSeries_) {
        Chart1MouseMove(e->buttons(), e->position().x(), e->position().y());
        e->accept();
        return;
    }
    QCPGraph* series = nullptr;
    const QString name = pick(e->position(), &series);
    setCursor(name.isEmpty() ? Qt::ArrowCursor : Qt::SizeAllCursor);
    QCustomPlot::mouseMoveEvent(e);
}

void TChartView::mouseReleaseEvent(QMouseEvent* e) {
    if (dragSeries_) {
        Chart1MouseUp();
        setInteraction(QCP::iRangeDrag, true);
        e->accept();
        return;
    }
    QCustomPlot::mouseReleaseEvent(e);
}

bool TChartView::SaveChart(const QString& path, int width, int height) {
    const QString ext = QFileInfo(path).suffix().toLower();
    if (width <= 0) width = this->width();
    if (height <= 0) height = this->height();
    if (ext == "png") return savePng(path, width, height, 2.0);
    if (ext == "pdf") return savePdf(path, width, height, QCP::epNoCosmetic, "Velmora", "Psychrometric chart");
    if (ext == "svg") {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(QSize(width, height));
        svg.setViewBox(QRect(0, 0, width, height));
        svg.setTitle("Psychrometric chart");
        svg.setDescription("Velmora");
        QCPPainter painter;
        if (!painter.begin(&svg)) return false;
        toPainter(&painter, width, height);
        painter.end();
        return QFileInfo(path).size() > 0;
    }
    return false;
}

}  // namespace velmora::gui
