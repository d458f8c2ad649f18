#include "app/noun_chart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QValueAxis>

namespace tavro {

NounChart::NounChart(QWidget* parent)
    : QWidget(parent),
      m_chart(new QChart),
      m_chartView(new QChartView(m_chart, this)),
      m_topCount(new QSpinBox(this)),
      m_exportPng(new QPushButton(QStringLiteral("Export &PNG..."), this)) {
    setObjectName(QStringLiteral("analysisChart"));
    m_chartView->setObjectName(QStringLiteral("chartView"));
    m_chartView->setRenderHint(QPainter::Antialiasing);
    m_chart->legend()->hide();
    m_chart->setAnimationOptions(QChart::NoAnimation);
    m_chart->setMargins(QMargins(4, 4, 4, 4));

    m_topCount->setObjectName(QStringLiteral("chartTopCount"));
    m_topCount->setRange(1, kMaxChartBars);
    m_topCount->setValue(kDefaultChartBars);
    m_topCount->setToolTip(QStringLiteral("How many bars the chart shows"));
    auto* topLabel = new QLabel(QStringLiteral("&Bars:"), this);
    topLabel->setBuddy(m_topCount);
    m_exportPng->setObjectName(QStringLiteral("chartExportPng"));
    m_exportPng->setToolTip(QStringLiteral("Save the chart as a PNG image"));

    auto* controls = new QHBoxLayout;
    controls->addWidget(topLabel);
    controls->addWidget(m_topCount);
    controls->addStretch(1);
    controls->addWidget(m_exportPng);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(controls);
    layout->addWidget(m_chartView, 1);

    connect(m_topCount, &QSpinBox::valueChanged, this, &NounChart::topCountChanged);
    connect(m_exportPng, &QPushButton::clicked, this, &NounChart::OnExportPng);
}

int NounChart::TopCount() const { return m_topCount->value(); }

void NounChart::SetTopCount(int count) { m_topCount->setValue(count); }

QStringList NounChart::Labels() const { return m_labels; }

void NounChart::SetBars(const std::vector<ChartBar>& bars, const QString& title) {
    m_chart->removeAllSeries();
    for (QAbstractAxis* axis : m_chart->axes()) {
        m_chart->removeAxis(axis);
        delete axis;
    }
    m_labels.clear();
    m_chart->setTitle(title);
    const std::size_t shown = std::min(bars.size(), static_cast<std::size_t>(TopCount()));
    if (shown == 0) return;

    // Columns from the most frequent on the left; the names stand under them,
    // turned, so that every one is shown in full.
    auto* set = new QBarSet(QStringLiteral("Count"));
    QStringList categories;
    long long largest = 0;
    for (std::size_t i = 0; i < shown; ++i) {
        *set << static_cast<qreal>(bars[i].value);
        categories << bars[i].label;
        m_labels << bars[i].label;
        largest = std::max(largest, bars[i].value);
    }
    set->setLabelColor(palette().color(QPalette::WindowText));
    auto* series = new QBarSeries;
    series->append(set);
    series->setBarWidth(0.7);
    series->setLabelsVisible(true);
    series->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    series->setLabelsFormat(QStringLiteral("@value"));
    m_chart->addSeries(series);

    auto* names = new QBarCategoryAxis;
    names->append(categories);
    names->setTruncateLabels(false);
    names->setLabelsAngle(shown > 6 ? -45 : 0);
    m_chart->addAxis(names, Qt::AlignBottom);
    series->attachAxis(names);
    auto* counts = new QValueAxis;
    // Room above the highest column for its label.
    counts->setRange(0, static_cast<qreal>(largest) * 1.12 + 1);
    counts->setLabelFormat(QStringLiteral("%d"));
    counts->applyNiceNumbers();
    m_chart->addAxis(counts, Qt::AlignLeft);
    series->attachAxis(counts);
}

QImage NounChart::Render(QSize size) const {
    if (size.isEmpty()) size = m_chartView->size();
    if (size.isEmpty()) size = QSize(640, 480);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    m_chartView->render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

QString NounChart::SavePng(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return path + QStringLiteral(": ") + file.errorString();
    if (!Render().save(&file, "PNG")) {
        file.cancelWriting();
        return path + QStringLiteral(": the image could not be written");
    }
    if (!file.commit()) return path + QStringLiteral(": ") + file.errorString();
    return QString();
}

void NounChart::OnExportPng() {
    if (!choosePngName) return;
    const QString path = choosePngName(QStringLiteral("chart.png"));
    if (path.isEmpty()) return;
    const QString problem = SavePng(path);
    if (!problem.isEmpty() && showProblem)
        showProblem(QStringLiteral("Failed to export the chart.\n\n") + problem);
}

}  // namespace tavro
