#ifndef ECU_UI_WIDGETS_MAP_GRID_H_
#define ECU_UI_WIDGETS_MAP_GRID_H_

#include <QWidget>
#include <functional>

#include "core/advisor/grid_cells.h"
#include "core/calibration/map_geometry.h"

namespace ecu {

// A read-only picture of the 16 x 16 fuel map: each cell's text on its
// colour, laid out as Basic Mapping lays out its cells (speed left to
// right, load bottom to top) with the same axis captions.
class MapGrid : public QWidget {
  Q_OBJECT

 public:
  explicit MapGrid(QWidget* parent = nullptr);

  void SetCells(const MapGridCells& cells);
  void SetAxes(const MapAxisLabels& labels);
  // The tool tip of a cell, asked when the pointer rests on it.
  void set_tip(std::function<QString(int cell)> tip) { tip_ = std::move(tip); }
  const MapGridCells& cells() const { return cells_; }
  // The cell under a point of the widget, or -1.
  int CellAt(const QPoint& point) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  void cellClicked(int cell);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  QRectF GridArea() const;
  QRectF CellRect(int cell) const;

  MapGridCells cells_;
  MapAxisLabels labels_;
  std::function<QString(int)> tip_;
};

}  // namespace ecu

#endif  // ECU_UI_WIDGETS_MAP_GRID_H_
