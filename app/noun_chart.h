// NounChart: the analysis window's bar chart of the most frequent nouns (or
// words), a column each, the most frequent on the left, with the number
// of bars the user chooses and a button that saves the chart as a PNG image.
//
// It only draws what it is given: the caller hands it the rows in frequency
// order (SetBars) and shows it the number of bars through TopCount(). Saving
// goes through the chooser hook and writes the file whole or not at all.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

class QChart;
class QChartView;
class QPushButton;
class QSpinBox;

namespace tavro {

// One bar: its label and its length.
struct ChartBar {
    QString label;
    long long value = 0;
};

class NounChart : public QWidget {
    Q_OBJECT

  public:
    explicit NounChart(QWidget* parent = nullptr);

    // Draws `bars` (at most TopCount() of them, most frequent first) under `title`.
    void SetBars(const std::vector<ChartBar>& bars, const QString& title);
    // How many bars the user asked for.
    int TopCount() const;
    void SetTopCount(int count);

    // The labels of the bars now drawn, top to bottom.
    QStringList Labels() const;

    // The chart as an image of `size` (the widget's own size when empty).
    QImage Render(QSize size = QSize()) const;
    // Writes Render() as PNG to `path`, replacing it whole; an empty string on
    // success, else the problem.
    QString SavePng(const QString& path) const;

    // Asks for a file name (empty: cancelled); set by the owner.
    std::function<QString(const QString& startName)> choosePngName;
    // Reports a problem to the user; set by the owner.
    std::function<void(const QString& text)> showProblem;

  signals:
    // The user changed the number of bars.
    void topCountChanged(int count);

  private:
    void OnExportPng();

    QChart* m_chart;
    QChartView* m_chartView;
    QSpinBox* m_topCount;
    QPushButton* m_exportPng;
    QStringList m_labels;
};

inline constexpr int kDefaultChartBars = 12;
inline constexpr int kMaxChartBars = 100;

}  // namespace tavro
