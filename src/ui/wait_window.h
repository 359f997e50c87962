#ifndef ECU_UI_WAIT_WINDOW_H_
#define ECU_UI_WAIT_WINDOW_H_

#include <QWidget>

#include "core/console/file_commands.h"

namespace ecu {

// The progress bar of frm_wait: two rectangles of equal height, the frame
// (percent_comp 0) and the fill (percent_comp 1).
class ProgressRectangles : public QWidget {
  Q_OBJECT

 public:
  explicit ProgressRectangles(QWidget* parent = nullptr);
  void SetFraction(double fraction);
  double fraction() const { return fraction_; }
  QSize sizeHint() const override { return {340, 22}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  double fraction_ = 0;
};

// frm_wait: shown while a setup file is loaded or saved; the main window is
// disabled meanwhile.
class WaitWindow : public QWidget, public BusyView {
  Q_OBJECT

 public:
  explicit WaitWindow(QWidget* main_window);

  void BeginBusy() override;
  void ShowProgress(double fraction) override;
  void EndBusy() override;

  double fraction() const { return bar_->fraction(); }

 private:
  QWidget* main_window_;
  ProgressRectangles* bar_;
};

}  // namespace ecu

#endif  // ECU_UI_WAIT_WINDOW_H_
