#include "ui/surface_graph_window.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

#include "ui/widgets/line_edit_width.h"
#include "ui/window_placement.h"

namespace ecu {
namespace {

QScrollBar* PercentBar(Qt::Orientation orientation, const char* name,
                       QWidget* parent) {
  auto* bar = new QScrollBar(orientation, parent);
  bar->setObjectName(name);
  bar->setRange(0, 100);
  bar->setPageStep(10);
  return bar;
}

QLineEdit* ScaleBox(const char* name, QWidget* parent) {
  auto* box = new QLineEdit(parent);
  box->setObjectName(name);
  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  box->setFont(fixed);
  box->setMaximumWidth(LineEditWidthFor(*box, "000.000"));
  return box;
}

}  // namespace

SurfaceGraphWindow::SurfaceGraphWindow(FuelMapEditor& editor, QWidget* parent)
    : QWidget(parent, Qt::Window), editor_(editor) {
  setObjectName("frm_graph");
  setWindowTitle("Mapping Surface Graph");
  SurfaceGraph& graph = editor_.graph();

  surface_ = new SurfaceView(
      [this](int w, int h) { return editor_.SurfaceSegments(w, h); }, this);
  surface_->setObjectName("Picture1");
  h_scroll_ = PercentBar(Qt::Horizontal, "HScroll1", this);
  v_scroll_ = PercentBar(Qt::Vertical, "VScroll1", this);
  high_scale_ = ScaleBox("high_scale", this);
  low_scale_ = ScaleBox("low_scale", this);

  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(10, 10, 10, 10);
  layout->setSpacing(6);
  layout->addWidget(surface_, 0, 0);
  layout->addWidget(v_scroll_, 0, 1);
  layout->addWidget(h_scroll_, 1, 0);
  auto* scales = new QHBoxLayout;
  scales->addWidget(new QLabel("High Scale", this));
  scales->addWidget(high_scale_);
  scales->addSpacing(16);
  scales->addWidget(new QLabel("Low Scale", this));
  scales->addWidget(low_scale_);
  scales->addStretch();
  layout->addLayout(scales, 2, 0, 1, 2);
  layout->setRowStretch(0, 1);
  layout->setColumnStretch(0, 1);

  connect(h_scroll_, &QScrollBar::valueChanged, this,
          [this](int v) { editor_.graph().set_h_scroll(v); });
  connect(v_scroll_, &QScrollBar::valueChanged, this,
          [this](int v) { editor_.graph().set_v_scroll(v); });
  connect(high_scale_, &QLineEdit::textEdited, this, [this](const QString& t) {
    editor_.graph().set_high_scale(t.toStdString());
  });
  connect(low_scale_, &QLineEdit::textEdited, this, [this](const QString& t) {
    editor_.graph().set_low_scale(t.toStdString());
  });
  graph.set_redraw([this] { surface_->update(); });
  graph.set_shown_changed([this] { Follow(); });
  Follow();
}

void SurfaceGraphWindow::Follow() {
  const SurfaceSettings& view = editor_.graph().view();
  // Setting the controls redraws through their own signals at most once
  // more; the values are the graph's already.
  h_scroll_->setValue(view.h_scroll);
  v_scroll_->setValue(view.v_scroll);
  high_scale_->setText(QString::fromStdString(view.high_scale));
  low_scale_->setText(QString::fromStdString(view.low_scale));
  if (editor_.graph().shown()) {
    ShowPlaced(this);
  } else {
    hide();
  }
}

void SurfaceGraphWindow::closeEvent(QCloseEvent* event) {
  // The close box unloads the graph; hiding follows from that.
  if (editor_.graph().shown()) editor_.graph().Close();
  event->accept();
}

}  // namespace ecu
