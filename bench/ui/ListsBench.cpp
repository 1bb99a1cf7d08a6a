// SPDX-License-Identifier: GPL-3.0-or-later
// How fast the main window's sorted lists fill, against sorting a plain QStringList once with
// the same collation (the baseline, measured in the same run).
//   geofill-bench-lists [ROWS (1000000)] [LISTWIDGET_ROWS (100000)]
// Runs offscreen unless QT_QPA_PLATFORM says otherwise.
#include "SortedListModel.h"

#include <QApplication>
#include <QCollator>
#include <QElapsedTimer>
#include <QListView>
#include <QListWidget>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

QStringList statements(int n)
{
    QRandomGenerator random(42);
    QStringList rows;
    rows.reserve(n);
    for (int i = 0; i < n; ++i)
        rows << QStringLiteral("INSERT INTO poi (lat, lon, label, desc, cat_id) VALUES "
                               "(%1.%2, %3.%4, 'Point %5', 'Spring no. %5', 1);")
                    .arg(random.bounded(-90, 90))
                    .arg(random.bounded(1000000))
                    .arg(random.bounded(-180, 180))
                    .arg(random.bounded(1000000))
                    .arg(random.bounded(n));
    return rows;
}

// Milliseconds for `fill`, including the view's layout and paint that follow it.
double measure(QWidget* view, const std::function<void()>& fill)
{
    QElapsedTimer timer;
    timer.start();
    fill();
    QCoreApplication::processEvents();
    view->repaint();
    return double(timer.nsecsElapsed()) / 1e6;
}

QListView* listBox(SortedListModel* rows)
{
    auto* view = new QListView;
    view->setUniformItemSizes(true);
    view->setModel(rows);
    view->resize(678, 186);
    view->show();
    return view;
}

void report(int rows, const char* what, double ms, double baseline)
{
    std::printf("%9d  %-52s %10.1f ms  %8.2f x\n", rows, what, ms, ms / baseline);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(1, atoi(argv[1])) : 1000000;
    const int widgetRows = argc > 2 ? std::max(1, atoi(argv[2])) : 100000;
    const int typical = std::min(rows, 100000);

    const QStringList data = statements(rows);
    std::printf("%9s  %-52s %13s  %10s\n", "rows", "case", "time", "/ baseline");

    // Baseline: the rows sorted once as a plain list, with the collation the lists use.
    SortedListModel order;
    QStringList plain = data;
    QElapsedTimer timer;
    timer.start();
    std::stable_sort(plain.begin(), plain.end(),
                     [&](const QString& a, const QString& b) { return order.compare(a, b) < 0; });
    const double baseline = double(timer.nsecsElapsed()) / 1e6;
    report(rows, "QStringList sorted once (baseline)", baseline, baseline);

    {
        SortedListModel model;
        QListView* view = listBox(&model);
        report(rows, "QListView + SortedListModel, set at once",
               measure(view, [&] { model.setItems(data); }), baseline);
        delete view;
    }
    {
        SortedListModel model;
        QListView* view = listBox(&model);
        report(typical, "QListView + SortedListModel, one row at a time",
               measure(view, [&] {
                   for (int i = 0; i < typical; ++i)
                       model.addItem(data.at(i));
               }),
               baseline);
        delete view;
    }
    if (rows > typical) {
        SortedListModel model;
        QListView* view = listBox(&model);
        report(rows, "QListView + SortedListModel, one row at a time",
               measure(view, [&] {
                   for (const QString& row : data)
                       model.addItem(row);
               }),
               baseline);
        delete view;
    }
    {
        const int n = std::min(widgetRows, rows);
        SortedListModel model;
        QListView* view = listBox(&model);
        report(n, "QListView + SortedListModel, one row at a time",
               measure(view, [&] {
                   for (int i = 0; i < n; ++i)
                       model.addItem(data.at(i));
               }),
               baseline);
        delete view;

        QListWidget widget;
        widget.setUniformItemSizes(true);
        widget.setSortingEnabled(true);
        widget.resize(678, 186);
        widget.show();
        report(n, "QListWidget, sorting on, one row at a time",
               measure(&widget, [&] {
                   for (int i = 0; i < n; ++i)
                       widget.addItem(data.at(i));
               }),
               baseline);
    }
    return 0;
}
