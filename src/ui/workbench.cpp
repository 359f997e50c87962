#include "ui/workbench.h"

#include <QMenu>

#include "ui/compare_window.h"
#include "ui/main_window.h"
#include "ui/window_placement.h"

namespace ecu {

Workbench::Workbench(EcuContext& ctx, MainWindow& main, BusyView& busy)
    : ctx_(ctx), main_(main), compare_(ctx.link, ctx.image, ctx.live, busy) {
  if (auto* file = main_.findChild<QMenu*>("menu_file")) {
    QAction* compare = file->addAction("Compare...");
    compare->setObjectName("menu_file_compare");
    connect(compare, &QAction::triggered, this, &Workbench::ShowCompare);
  }
}

Workbench::~Workbench() = default;

void Workbench::ShowCompare() {
  if (!compare_window_) {
    compare_window_ = std::make_unique<CompareWindow>(compare_, ctx_.link);
  }
  ShowPlaced(compare_window_.get());
  compare_window_->raise();
}

}  // namespace ecu
