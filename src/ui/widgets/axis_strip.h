#ifndef ECU_UI_WIDGETS_AXIS_STRIP_H_
#define ECU_UI_WIDGETS_AXIS_STRIP_H_

#include <QColor>
#include <QStringList>
#include <QWidget>
#include <vector>

#include "core/editors/axis_pointer.h"

namespace ecu {

// An editor's axis beside a grid of cells: captions spread evenly from the
// grid's first edge to its last (bottom to top when vertical), and live
// pointers that move along it.
class AxisStrip : public QWidget {
  Q_OBJECT

 public:
  // The axis spans `reference` (the grid it labels).
  AxisStrip(Qt::Orientation orientation, QWidget* reference,
            QWidget* parent = nullptr);

  void SetLabels(const QStringList& labels);
  // The axis runs from the centre of the first of `cells` equal cells to the
  // centre of the last, rather than from edge to edge.
  void SetCellCentres(int cells);
  // A pointer; `limited` keeps it on the axis.
  int AddPointer(QColor colour, bool limited);
  // Repaints only when the pointer's whole-pixel position changes.
  void MovePointer(int pointer, double fraction);
  // Where a pointer stands, in this strip's coordinates (for tests).
  std::optional<int> PointerPosition(int pointer) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Pointer {
    QColor colour;
    AxisPointer place;
    double fraction = 0;
  };
  // The axis's begin and end in this strip's coordinates.
  std::pair<int, int> Span() const;

  Qt::Orientation orientation_;
  QWidget* reference_;
  QStringList labels_;
  int cells_ = 0;
  std::vector<Pointer> pointers_;
};

}  // namespace ecu

#endif  // ECU_UI_WIDGETS_AXIS_STRIP_H_
