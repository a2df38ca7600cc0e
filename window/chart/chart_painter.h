// Paints a chart scene (workbench/chart_scene.h) with QPainter, onto the
// chart window, an image or an SVG file. Only the drawing is here: what goes
// where was worked out below the window.
#pragma once

#include <QSize>
#include <QString>

class QPainter;

namespace navorix {

class ChartScene;

// The letters of fix names on the chart.
inline constexpr int ChartLabelPointSize = 8;

struct LabelMetrics;

// The size of the name letters as PaintChart draws them.
LabelMetrics chartLabelMetrics();

void paintChart(QPainter& painter, const ChartScene& scene);

// Saves the scene as a PNG or an SVG picture, by the file name's ending
// (case-insensitive; anything else is PNG's). False when it could not be
// written.
bool saveChartPicture(const QString& fileName, const ChartScene& scene);

}  // namespace navorix
