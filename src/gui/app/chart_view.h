#pragma once
// The psychrometric chart of the specification: dry bulb across, moisture
// content up, the saturation curve with relative-humidity and wet-bulb lines
// behind the process, and the five process points, which can be dragged.
#include <QElapsedTimer>
#include <QPointer>
#include <qcustomplot.h>

namespace velmora::gui {

class TVelmoraForm;

class TChartView : public QCustomPlot {
    Q_OBJECT
public:
    explicit TChartView(QWidget* parent = nullptr);
    void Attach(TVelmoraForm* form);

    void DrawSaturation();
    void DrawProcess();
    void SetIdealAxes();
    void SetAxisRange(QCPAxis* axis, double a, double b);

    void ZoomIdealButtonClick();
    void ZoomInButtonClick();
    void ZoomOutButtonClick();

    // The drag state: the picked series and the label of its point.
    void Chart1ClickSeries(QCPGraph* series, const QString& label);
    // One mouse move in widget pixels; true when the specification changed.
    bool Chart1MouseMove(Qt::MouseButtons buttons, double x, double y);
    void Chart1MouseUp();
    QCPGraph* DragSeries() const { return dragSeries_; }
    QString DragLabel() const { return dragLabel_; }

    // Pixel position of a labelled process point ("OA", "SP", "ai", "adp", "ao").
    QPointF PointPixel(const QString& label) const;
    // Writes the chart as PNG, PDF or SVG by the file's extension.
    bool SaveChart(const QString& path, int width = 0, int height = 0);

    QCPAxis* BottomAxis() const { return xAxis; }
    QCPAxis* RightAxis() const { return yAxis2; }

    QCPGraph* SatSeries;
    QCPGraph* MixSeries;
    QCPGraph* CoolerSeries;
    QCPGraph* OffCoilSeries;
    // Background lines, rebuilt with the saturation curve.
    QList<QCPGraph*> HumidityLines;
    QList<QCPGraph*> WetBulbLines;
    int SaturationDraws = 0;  // how often the curve was regenerated

signals:
    // The drag of one point ended (mouse released).
    void dragFinished();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QCPGraph* newLine(const QColor& c, Qt::PenStyle style, double width);
    void label(QCPGraph* g, const QString& text, double x, double y, const QColor& colour, Qt::Alignment align);
    void clearBackground();
    QString pick(const QPointF& pos, QCPGraph** series) const;

    QPointer<TVelmoraForm> form_;
    QCPGraph* dragSeries_ = nullptr;
    QString dragLabel_;
    int dragId_ = 1000;
    bool inRangeChange_ = false;
    QList<QCPItemText*> pointLabels_;
    QList<QCPItemText*> backgroundLabels_;
};

}  // namespace velmora::gui
