#include "windows/trends_window.h"

#include <QBrush>
#include <QChartView>
#include <QComboBox>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <memory>

#include "foundation/iso_time.h"
#include "foundation/station_config.h"
#include "platform/whole_file.h"
#include "trends/trend_csv.h"
#include "windows/builders.h"

namespace treld {
namespace {

// Each panel's quantities (indexes of kPanelQuantities) and its value range
// while it has nothing to show.
struct ChartPanel {
    std::vector<int> quantities;
    double emptyLow;
    double emptyHigh;
};
const std::array<ChartPanel, TrendCharts::kPanels> kChartPanels = {{
    {{0, 1, 2, 3, 4, 5}, 0, 250},
    {{6, 7}, 45, 55},
    {{8, 9, 10, 11, 12, 13}, 0, 100},
}};

// Source 1 blue, source 2 orange; load green, current purple.
constexpr std::array<QRgb, 14> kColours = {0x1f4e9c, 0x3a78d8, 0x86aef0, 0xb03a10, 0xe0662a,
                                           0xf2a36b, 0x1f4e9c, 0xe0662a, 0x2e7d32, 0x66bb6a,
                                           0xa5d6a7, 0x6a1b9a, 0x9c4dcc, 0xce93d8};

// Fixed margins keep the three plot areas, and so their time axes, aligned.
constexpr qreal kLeftMargin = 56;
constexpr qreal kRightMargin = 24;
constexpr qreal kTopMargin = 34;
constexpr qreal kBottomMargin = 26;

// Ranges longer than an hour may span midnight: their time labels carry the day.
constexpr const char* kDatedFormat = "dd MMM hh:mm";
const char* timeFormat(int rangeIndex) {
    const std::int64_t seconds = kTrendRanges[rangeIndex].seconds;
    return seconds <= 600 ? "hh:mm:ss" : seconds <= 3600 ? "hh:mm" : kDatedFormat;
}

QString localTime(const Trends& trends, std::int64_t at) {
    return QString::fromStdString(isoLocalTime(at, trends.utcOffsetSeconds)).replace('T', ' ');
}

QDateTimeAxis* timeAxis(QChart* chart) {
    return static_cast<QDateTimeAxis*>(chart->axes(Qt::Horizontal).first());
}
QValueAxis* valueAxis(QChart* chart) {
    return static_cast<QValueAxis*>(chart->axes(Qt::Vertical).first());
}

// Ticks on round steps (1, 2, 2.5 or 5 times a power of ten) with a little
// room around the lines, but no negative volts or hertz; no more of them than
// the chart's height has room for labels (the chart cuts a label to "..."
// when it gets less than its line and some room around it).
void setNiceRange(QChart* chart, double low, double high) {
    QValueAxis* axis = valueAxis(chart);
    const int labelRoom = QFontMetrics(axis->labelsFont()).height() + 16;
    const int divisions = std::clamp(int(chart->size().height()) / labelRoom - 1, 1, 5);
    const double pad = std::max(1.0, (high - low) * 0.04);
    low = low >= 0 ? std::max(0.0, low - pad) : low - pad;
    high += pad;
    // The smallest round step that keeps the ticks, once rounded out, within
    // the divisions.
    const double power = std::pow(10.0, std::floor(std::log10((high - low) / divisions)));
    double step = 0;
    for (double factor : {1.0, 2.0, 2.5, 5.0, 10.0, 20.0, 25.0, 50.0, 100.0}) {
        step = factor * power;
        if (std::ceil(high / step) - std::floor(low / step) <= divisions)
            break;
    }
    low = std::floor(low / step) * step;
    high = std::ceil(high / step) * step;
    axis->setRange(low, high);
    axis->setTickCount(static_cast<int>(std::lround((high - low) / step)) + 1);
}

QString quantityLabel(const PanelQuantity& quantity) {
    return QStringLiteral("%1 (%2)").arg(
        QString::fromLatin1(quantity.name.data(), qsizetype(quantity.name.size())),
        QString::fromLatin1(quantity.unit.data(), qsizetype(quantity.unit.size())));
}

}  // namespace

TrendCharts::TrendCharts(const Trends& trends, QLabel* readout, QWidget* parent)
    : QWidget(parent), trends_(trends), readout_(readout) {
    named(this, kTrendCharts);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int p = 0; p < kPanels; ++p) {
        Panel& panel = panels_[p];
        panel.chart = new QChart;
        panel.chart->setMargins(QMargins(0, 0, 0, 0));
        panel.chart->setBackgroundRoundness(0);
        auto* time = new QDateTimeAxis;
        timeLabelWidth_ =
            QFontMetrics(time->labelsFont())
                .horizontalAdvance(
                    QDateTime(QDate(2000, 12, 28), QTime(23, 58)).toString(kDatedFormat));
        time->setLabelsVisible(p == kPanels - 1);  // one time scale under the stack
        auto* values = new QValueAxis;
        values->setLabelFormat("%.0f");
        panel.chart->addAxis(time, Qt::AlignBottom);
        panel.chart->addAxis(values, Qt::AlignLeft);
        for (int quantity : kChartPanels[p].quantities) {
            auto* line = new QLineSeries;
            line->setName(quantityLabel(kPanelQuantities[quantity]));
            line->setPen(QPen(QColor(kColours[quantity]), 1));
            panel.chart->addSeries(line);
            line->attachAxis(time);
            line->attachAxis(values);
            panel.lines.push_back(line);
        }
        if (p == 1)
            values->setLabelFormat("%.1f");
        // Over the lines, under the legend: a band hides the line across a gap.
        panel.gapBands = new QGraphicsPathItem(panel.chart);
        panel.gapBands->setZValue(4.5);
        panel.gapBands->setPen(Qt::NoPen);
        panel.gapBands->setBrush(QColor(0xe4, 0xe4, 0xe4));
        // The legend sits in the top margin; the chart's own layout would
        // squeeze it once the plot area is fixed.
        panel.chart->legend()->detachFromChart();
        // A fixed plot area freezes the chart's own layout (its background, the
        // room for the value labels) as it was: at each new size the chart lays
        // itself out first, and the plot area is fixed after that.
        connect(panel.chart, &QChart::geometryChanged, this,
                [this, p] { panels_[p].chart->setPlotArea(QRectF()); });
        connect(panel.chart, &QChart::plotAreaChanged, this,
                [this, p](const QRectF& area) { layOut(p, area); });

        auto* view = new QChartView(panel.chart, this);
        view->setMouseTracking(true);
        view->viewport()->installEventFilter(this);
        layout->addWidget(view, 1);
    }
}

void TrendCharts::layOut(int p, const QRectF& plotArea) {
    Panel& panel = panels_[p];
    QChart* chart = panel.chart;
    // The last time label stands centred on the right edge, half of it in the margin.
    const qreal right = std::max<qreal>(kRightMargin, timeLabelWidth_ / 2.0 + 6);
    const QSizeF size = chart->size();
    const qreal width = size.width() - kLeftMargin - right;
    const QRectF fixed(kLeftMargin, kTopMargin, width,
                       size.height() - kTopMargin - (p == kPanels - 1 ? kBottomMargin : 8));
    if (plotArea != fixed) {
        chart->setPlotArea(fixed);
        return;
    }
    chart->legend()->setGeometry(QRectF(kLeftMargin, 2, width, kTopMargin - 4));
    setNiceRange(chart, panel.low, panel.high);
    // As many time labels as fit side by side, so none overlaps the next.
    timeAxis(chart)->setTickCount(
        std::clamp(static_cast<int>(width / (timeLabelWidth_ * 1.5)) + 1, 2, 7));
    placeGapBands(panel);
}

void TrendCharts::drawElement(const Element& element) {
    const int range = std::clamp(element.listIndex(), 0, static_cast<int>(kTrendRanges.size()) - 1);
    // A pixel spans 1 s at 10 min but 96 s at 24 h: the picture moves on
    // once the time has moved by a pixel.
    const std::int64_t pixelSeconds = std::max<std::int64_t>(
        1, kTrendRanges[range].seconds / std::max(1, int(panels_[0].chart->plotArea().width())));
    const std::int64_t moved = trends_.shownUntil - drawnUntil_;
    if (range == rangeIndex_ && moved >= 0 && moved < pixelSeconds)
        return;
    rangeIndex_ = range;
    redraw();
}

void TrendCharts::redraw() {
    const std::int64_t to = trends_.shownUntil;
    drawnUntil_ = to;
    const std::int64_t from = to - kTrendRanges[rangeIndex_].seconds + 1;
    const int buckets = std::max(16, static_cast<int>(panels_[0].chart->plotArea().width()));
    const std::array<ReplyPlot, kReplyGroups> plots = {
        plotReply(trends_.history.samples(ReplyGroup::Source), from, to, buckets),
        plotReply(trends_.history.samples(ReplyGroup::Output), from, to, buckets)};

    for (int p = 0; p < kPanels; ++p) {
        Panel& panel = panels_[p];
        double low = INFINITY;
        double high = -INFINITY;
        const ChartPanel& layout = kChartPanels[p];
        std::vector<QList<QPointF>> lines(panel.lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const PanelQuantity& quantity = kPanelQuantities[layout.quantities[i]];
            const auto& points = plots[static_cast<int>(quantity.group)].fields[quantity.field];
            lines[i].reserve(static_cast<qsizetype>(points.size()));
            for (const PlotPoint& point : points) {
                const double value = double(point.number) / quantity.divisor;
                low = std::min(low, value);
                high = std::max(high, value);
                lines[i].append(QPointF(double(point.at) * 1000.0, value));
            }
            // Each axis change recomputes every line; empty ones cost nothing.
            panel.lines[i]->clear();
        }
        if (low > high) {
            low = layout.emptyLow;
            high = layout.emptyHigh;
        }
        panel.low = low;
        panel.high = high;
        setNiceRange(panel.chart, low, high);
        QDateTimeAxis* time = timeAxis(panel.chart);
        time->setFormat(timeFormat(rangeIndex_));
        time->setRange(QDateTime::fromSecsSinceEpoch(from), QDateTime::fromSecsSinceEpoch(to));
        for (std::size_t i = 0; i < lines.size(); ++i)
            panel.lines[i]->replace(lines[i]);
        panel.gaps = plots[p == kPanels - 1 ? 1 : 0].gaps;
        placeGapBands(panel);
    }
}

void TrendCharts::placeGapBands(Panel& panel) {
    const QRectF area = panel.chart->plotArea();
    QPainterPath path;
    for (const TimeSpan& gap : panel.gaps) {
        const qreal left =
            panel.chart->mapToPosition(QPointF(double(gap.from) * 1000.0, 0), panel.lines[0]).x();
        const qreal right =
            panel.chart->mapToPosition(QPointF(double(gap.to) * 1000.0, 0), panel.lines[0]).x();
        path.addRect(QRectF(left, area.top(), std::max<qreal>(1, right - left), area.height())
                         .intersected(area));
    }
    panel.gapBands->setPath(path);
}

QString TrendCharts::pictureTitle(const std::string& station) const {
    const std::int64_t to = trends_.shownUntil;
    const TrendRange& range = kTrendRanges[rangeIndex_];
    QString title = displayText(station);
    if (!title.isEmpty())
        title += "   ";
    return title +
           QStringLiteral("Trends %1: %2 to %3")
               .arg(QString::fromLatin1(range.caption.data(), qsizetype(range.caption.size())),
                    localTime(trends_, to - range.seconds + 1), localTime(trends_, to));
}

QImage TrendCharts::picture(const std::string& station) {
    const QPixmap charts = grab();
    const int titleHeight = 2 * fontMetrics().height();
    QPixmap picture(charts.size() + QSize(0, int(titleHeight * charts.devicePixelRatio())));
    picture.setDevicePixelRatio(charts.devicePixelRatio());
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setFont(font());
    painter.drawText(QRect(int(kLeftMargin), 0, width(), titleHeight), Qt::AlignVCenter,
                     pictureTitle(station));
    painter.drawPixmap(0, titleHeight, charts);
    painter.end();
    return picture.toImage();
}

QString TrendCharts::valuesAt(std::int64_t at) const {
    QString text = localTime(trends_, at);
    for (ReplyGroup group : {ReplyGroup::Source, ReplyGroup::Output}) {
        const TrendSample* sample = trends_.history.valuesAt(group, at);
        if (sample == nullptr) {
            text += group == ReplyGroup::Source ? "   sources: no data" : "   output: no data";
            continue;
        }
        for (const PanelQuantity& quantity : kPanelQuantities) {
            if (quantity.group == group) {
                text += "   " + quantityLabel(quantity) + " " +
                        QString::fromStdString(trendValueText(quantity, sample));
            }
        }
    }
    return text;
}

bool TrendCharts::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Leave) {
        readout_->clear();
    } else if (event->type() == QEvent::MouseMove) {
        for (const Panel& panel : panels_) {
            auto* view = static_cast<QChartView*>(watched->parent());
            if (view->chart() != panel.chart)
                continue;
            const QPointF scene = view->mapToScene(static_cast<QMouseEvent*>(event)->pos());
            const QPointF value =
                panel.chart->mapToValue(panel.chart->mapFromScene(scene), panel.lines[0]);
            readout_->setText(valuesAt(std::llround(value.x() / 1000.0)));
        }
    }
    return QWidget::eventFilter(watched, event);
}

QString freshFileName(const QString& folder, const QString& stem, const QString& suffix,
                      const Trends& trends, int rangeIndex) {
    QString edge = localTime(trends, trends.shownUntil).remove(':').replace(' ', '-');
    const std::string_view range = kTrendRanges[rangeIndex].caption;
    const QString base = QDir(folder).filePath(
        stem + "-" + QString::fromLatin1(range.data(), qsizetype(range.size())).remove(' ') + "-" +
        edge);
    QString name = base + suffix;
    for (int n = 2; QFileInfo::exists(name); ++n)
        name = base + "-" + QString::number(n) + suffix;
    return name;
}

QWidget* buildTrendsWindow(QWidget* mainWindow, const Trends& trends, const StationConfig& config) {
    auto* window = named(new QWidget(mainWindow, Qt::Window), kTrendsWindow);
    // As drawn, unless the screen it opens on is smaller.
    window->resize(
        QSize(1000, 780).boundedTo(QGuiApplication::primaryScreen()->availableSize() * 0.9));
    // Escape closes it through the core, as the close box does.
    QObject::connect(new QShortcut(QKeySequence(Qt::Key_Escape), window), &QShortcut::activated,
                     window, &QWidget::close);
    auto* layout = new QVBoxLayout(window);

    auto* controls = new QHBoxLayout;
    controls->addWidget(new QLabel("Range:", window));
    auto* range = named(new QComboBox(window), kTrendRange);
    controls->addWidget(range);
    controls->addStretch(1);
    auto* saveCsv = new QPushButton("Save CSV...", window);
    auto* savePicture = new QPushButton("Save picture...", window);
    controls->addWidget(saveCsv);
    controls->addWidget(savePicture);
    layout->addLayout(controls);

    auto* readout = new QLabel(window);
    readout->setWordWrap(true);
    readout->setMinimumHeight(2 * readout->fontMetrics().height());
    auto* charts = new TrendCharts(trends, readout, window);
    layout->addWidget(charts, 1);
    layout->addWidget(readout);

    // Each save offers a new name in the folder of the last one.
    auto folder = std::make_shared<QString>(QDir::currentPath());
    auto save = [=, &trends](const QString& caption, const QString& stem, const QString& suffix,
                             const QString& filter, auto&& write) {
        const QString file = QFileDialog::getSaveFileName(
            window, caption, freshFileName(*folder, stem, suffix, trends, charts->rangeIndex()),
            filter);
        if (file.isEmpty())
            return;
        *folder = QFileInfo(file).absolutePath();
        readout->setText((write(file) ? "Saved " : "Not saved: ") + file);
    };
    QObject::connect(saveCsv, &QPushButton::clicked, window, [=, &trends] {
        save("Save trends as CSV", "trends", ".csv", "CSV files (*.csv)", [&](const QString& file) {
            return saveWholeFile(
                file, QByteArray::fromStdString(shownRangeCsv(trends, charts->rangeIndex())));
        });
    });
    QObject::connect(savePicture, &QPushButton::clicked, window, [=, &config] {
        save("Save charts as picture", "trends", ".png", "PNG pictures (*.png)",
             [&](const QString& file) {
                 return charts->picture(config.StationName).save(file, "PNG");
             });
    });
    return window;
}

}  // namespace treld
