#include "ui/wait_window.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/window_placement.h"

namespace ecu {

ProgressRectangles::ProgressRectangles(QWidget* parent) : QWidget(parent) {
  setObjectName("percent_comp");
  setMinimumSize(sizeHint());
}

void ProgressRectangles::SetFraction(double fraction) {
  fraction_ = std::clamp(fraction, 0.0, 1.0);
  // The run blocks the event loop: paint now.
  repaint();
}

void ProgressRectangles::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect frame = rect().adjusted(0, 0, -1, -1);
  painter.fillRect(frame, Qt::white);
  QRect fill = frame.adjusted(1, 1, 0, 0);
  fill.setWidth(static_cast<int>(frame.width() * fraction_));
  painter.fillRect(fill, QColor(0, 0, 160));
  painter.setPen(QColor(80, 80, 80));
  painter.drawRect(frame);
}

WaitWindow::WaitWindow(QWidget* main_window)
    : QWidget(nullptr,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      main_window_(main_window) {
  setObjectName("frm_wait");
  setWindowTitle("Please wait");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 14, 16, 14);
  layout->addWidget(new QLabel(
      "Please wait for a moment while this opperation is being completed.",
      this));
  bar_ = new ProgressRectangles(this);
  layout->addWidget(bar_);
}

void WaitWindow::BeginBusy() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  bar_->SetFraction(kProgressStub);
  ShowPlaced(this);
  QApplication::processEvents();
  main_window_->setEnabled(false);
  QApplication::processEvents();
}

void WaitWindow::ShowProgress(double fraction) { bar_->SetFraction(fraction); }

void WaitWindow::EndBusy() {
  main_window_->setEnabled(true);
  hide();
  QApplication::restoreOverrideCursor();
  QApplication::processEvents();
}

}  // namespace ecu
