// The Trends window's charts: source voltages, frequencies, output load and
// current, stacked over one time range, redrawn whenever the core counts a
// redraw on the "TrendCharts" element.
#pragma once

#include <QChart>
#include <QGraphicsPathItem>
#include <QLabel>
#include <QLineSeries>
#include <QWidget>
#include <array>
#include <vector>

#include "trends/decimation.h"
#include "trends/trends.h"
#include "windows/binder.h"

namespace treld {

class TrendCharts : public QWidget, public ElementView {
    Q_OBJECT
  public:
    static constexpr int kPanels = 3;

    TrendCharts(const Trends& trends, QLabel* readout, QWidget* parent);

    // The element's list index is the range to show.
    void drawElement(const Element& element) override;
    // Everything again, whether or not a pixel's time has passed.
    void redraw();
    int rangeIndex() const { return rangeIndex_; }

    QChart* chart(int panel) const { return panels_[panel].chart; }
    // The charts as a picture under a line that names `station`, the range
    // and its dates, so that a saved picture says what it shows.
    QImage picture(const std::string& station);
    QString pictureTitle(const std::string& station) const;
    // The bands over the spans without data, in the chart's coordinates.
    const QGraphicsPathItem* gapBands(int panel) const { return panels_[panel].gapBands; }
    // What the readout shows for the pointer at `at`.
    QString valuesAt(std::int64_t at) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Panel {
        QChart* chart = nullptr;
        std::vector<QLineSeries*> lines;
        QGraphicsPathItem* gapBands = nullptr;
        double low = 0;  // the values shown, before the axis rounds them
        double high = 0;
        std::vector<TimeSpan> gaps;
    };
    void placeGapBands(Panel& panel);
    // The chart has laid itself out with `plotArea`: the plot area is fixed
    // where the three time axes align, and what depends on it follows.
    void layOut(int panel, const QRectF& plotArea);

    const Trends& trends_;
    QLabel* readout_;
    int rangeIndex_ = 0;
    int timeLabelWidth_ = 0;  // the widest label of the time axis
    std::int64_t drawnUntil_ = -1;
    std::array<Panel, kPanels> panels_;
};

// A name for a file saved from the charts that no earlier save in `folder`
// holds: `stem`, the range and the time of its right edge, a number if need be.
QString freshFileName(const QString& folder, const QString& stem, const QString& suffix,
                      const Trends& trends, int rangeIndex);

}  // namespace treld
