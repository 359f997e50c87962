#include "ui/compare_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "core/calibration/item_meanings.h"
#include "core/editors/fuel_map_editor.h"
#include "ui/widgets/qt_colour.h"

namespace ecu {
namespace {

enum Column { kItem, kA, kB, kDifference, kRawA, kRawB, kMeaning };

QString Q(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString Raw(const std::optional<int32_t>& raw) {
  return raw ? QString::number(*raw) : QString("unknown");
}

QString Shown(const std::string& value, const std::optional<int32_t>& raw) {
  if (!raw) return "unknown";
  return value.empty() ? QString("(no value)") : Q(value);
}

// A table that is not the map, in rows of at most this many cells.
constexpr int kRowCells = 12;

// Where element i of a table sits in its grid: the map's columns along
// engine speed with row 0 (lowest load) at the bottom, other tables in rows.
std::pair<int, int> GridPlace(const TableItem& table, int i) {
  if (table.key == "MAPM") return {kMapRows - 1 - i % kMapRows, i / kMapRows};
  return {i / kRowCells, i % kRowCells};
}

QTableWidget* Grid(const char* name, int rows, int columns, QWidget* parent) {
  auto* grid = new QTableWidget(rows, columns, parent);
  grid->setObjectName(name);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionMode(QAbstractItemView::NoSelection);
  grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->horizontalHeader()->setDefaultSectionSize(44);
  grid->verticalHeader()->setDefaultSectionSize(20);
  grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setFixedSize(34 + 44 * columns + 4, 22 + 20 * rows + 4);
  grid->verticalHeader()->setFixedWidth(34);
  return grid;
}

}  // namespace

CompareWindow::CompareWindow(CompareModel& model, EcuLink& link,
                             QWidget* parent)
    : QWidget(parent, Qt::Window), model_(model), link_(link) {
  setObjectName("frm_compare");
  setWindowTitle("Compare Calibrations");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 10, 12, 10);
  layout->addWidget(BuildSources());

  summary_ = new QLabel(this);
  summary_->setObjectName("compare_summary");
  layout->addWidget(summary_);

  auto* tabs = new QTabWidget(this);
  tabs->setObjectName("compare_tabs");
  list_ = new QTreeWidget(tabs);
  list_->setObjectName("compare_list");
  list_->setColumnCount(7);
  list_->setHeaderLabels(
      {"Item", "A", "B", "B - A", "A raw", "B raw", "Meaning"});
  list_->setRootIsDecorated(true);
  list_->setUniformRowHeights(true);
  list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  connect(list_, &QTreeWidget::itemChanged, this, &CompareWindow::Picked);
  tabs->addTab(list_, "Differences");
  tabs->addTab(BuildGrids(), "Grids");
  layout->addWidget(tabs, 1);

  auto* buttons = new QHBoxLayout;
  auto add = [&](const char* name, const char* caption, const char* tip,
                 std::function<void()> action) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setToolTip(tip);
    connect(b, &QPushButton::clicked, this, std::move(action));
    buttons->addWidget(b);
    return b;
  };
  add("compare_pick_all", "Pick All", "Pick every item B has a value for",
      [this] { model_.PickAll(true); });
  add("compare_pick_none", "Pick None", "Pick no item",
      [this] { model_.PickAll(false); });
  buttons->addStretch(1);
  copy_ = add("compare_copy", "Copy to ECU",
              "Write B's values of the picked items into the ECU",
              [this] { link_.RunWhenIdle([this] { model_.CopyPicked(); }); });
  add("compare_close", "Close", "Close this window", [this] { hide(); });
  layout->addLayout(buttons);

  model_.set_changed([this] { Refresh(); });
  Refresh();
}

CompareWindow::~CompareWindow() { model_.set_changed({}); }

QWidget* CompareWindow::BuildSources() {
  auto* box = new QWidget(this);
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  a_kind_ = new QComboBox(box);
  a_kind_->setObjectName("compare_a_kind");
  a_kind_->addItems({"ECU", "Setup file"});
  connect(a_kind_, &QComboBox::currentIndexChanged, this, [this](int index) {
    model_.a_is_ecu = index == 0;
    Refresh();
  });
  a_path_ = new QLineEdit(box);
  a_path_->setObjectName("compare_a_path");
  connect(a_path_, &QLineEdit::textChanged, this,
          [this](const QString& t) { model_.a_path = t.toStdString(); });
  a_browse_ = new QPushButton("Browse...", box);
  a_browse_->setObjectName("compare_a_browse");
  connect(a_browse_, &QPushButton::clicked, this, [this] { Browse(a_path_); });
  b_path_ = new QLineEdit(box);
  b_path_->setObjectName("compare_b_path");
  connect(b_path_, &QLineEdit::textChanged, this,
          [this](const QString& t) { model_.b_path = t.toStdString(); });
  auto* b_browse = new QPushButton("Browse...", box);
  b_browse->setObjectName("compare_b_browse");
  connect(b_browse, &QPushButton::clicked, this, [this] { Browse(b_path_); });
  run_ = new QPushButton("Compare", box);
  run_->setObjectName("compare_run");
  run_->setToolTip("Read A and B and list every item that differs");
  connect(run_, &QPushButton::clicked, this,
          [this] { link_.RunWhenIdle([this] { model_.Compare(); }); });

  grid->addWidget(new QLabel("A:", box), 0, 0);
  grid->addWidget(a_kind_, 0, 1);
  grid->addWidget(a_path_, 0, 2);
  grid->addWidget(a_browse_, 0, 3);
  grid->addWidget(new QLabel("B:", box), 1, 0);
  grid->addWidget(new QLabel("Setup file", box), 1, 1);
  grid->addWidget(b_path_, 1, 2);
  grid->addWidget(b_browse, 1, 3);
  grid->addWidget(run_, 0, 4, 2, 1);
  grid->setColumnStretch(2, 1);
  return box;
}

QWidget* CompareWindow::BuildGrids() {
  auto* scroll = new QScrollArea(this);
  auto* inner = new QWidget(scroll);
  auto* layout = new QVBoxLayout(inner);
  layout->addWidget(new QLabel(
      "B's values; red where B is higher than A, blue where lower, grey "
      "where a side is unknown",
      inner));
  for (const TableItem& table : AllTables()) {
    // The phase table is a set of bits: the list says more than colours.
    if (table.cells == CellKind::kPhaseCell) continue;
    const bool map = table.key == "MAPM";
    const std::string name = "compare_grid_" + std::string(table.key);
    layout->addWidget(new QLabel(Q(std::string(table.key) + ": " +
                                   std::string(MeaningOf(table.key).text)),
                                 inner));
    const int columns = map ? kMapColumns : std::min(table.count, kRowCells);
    const int rows = map ? kMapRows : (table.count + kRowCells - 1) / kRowCells;
    QTableWidget* grid = Grid(name.c_str(), rows, columns, inner);
    QStringList column_labels;
    QStringList row_labels;
    for (int c = 0; c < columns; ++c) column_labels << QString::number(c);
    for (int r = 0; r < rows; ++r) {
      row_labels << QString::number(map ? kMapRows - 1 - r : r * kRowCells);
    }
    grid->setHorizontalHeaderLabels(column_labels);
    grid->setVerticalHeaderLabels(row_labels);
    grids_[table.key] = grid;
    layout->addWidget(grid);
  }
  layout->addStretch(1);
  scroll->setWidget(inner);
  return scroll;
}

void CompareWindow::Browse(QLineEdit* path) {
  const std::string name = link_.prompts().OpenFileName(
      FileCommands::SetupFileDialog(/*saving=*/false));
  if (name.empty() || name == "*.SET") return;
  path->setText(QString::fromStdString(name));
}

void CompareWindow::Refresh() {
  refreshing_ = true;
  // While the tree hands over a pick (a group box ticks each of its items
  // in turn) it must not be rebuilt under its own feet.
  if (picking_) {
    copy_->setEnabled(!model_.running() && model_.picked_count() > 0);
    refreshing_ = false;
    return;
  }
  const bool idle = !model_.running();
  a_kind_->setCurrentIndex(model_.a_is_ecu ? 0 : 1);
  // The paths may also be set in the model (a file opened from the desktop).
  if (a_path_->text() != Q(model_.a_path)) a_path_->setText(Q(model_.a_path));
  if (b_path_->text() != Q(model_.b_path)) b_path_->setText(Q(model_.b_path));
  a_path_->setEnabled(!model_.a_is_ecu);
  a_browse_->setEnabled(!model_.a_is_ecu);
  run_->setEnabled(idle);
  copy_->setEnabled(idle && model_.picked_count() > 0);
  summary_->setText(Q(model_.Summary()));
  RefreshList();
  RefreshGrids();
  refreshing_ = false;
}

void CompareWindow::RefreshList() {
  list_->clear();
  for (const DifferenceGroup& group : model_.comparison().groups) {
    auto* top = new QTreeWidgetItem(list_);
    top->setText(kItem, QString("%1: %2, %3 of %4 differ")
                            .arg(Q(group.name))
                            .arg(Q(group.meaning))
                            .arg(group.items.size())
                            .arg(group.item_count));
    top->setFirstColumnSpanned(true);
    top->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable |
                  Qt::ItemIsAutoTristate);
    for (const ItemDifference& d : group.items) {
      auto* row = new QTreeWidgetItem(top);
      row->setText(kItem, Q(d.name));
      if (d.scalar != nullptr)
        row->setText(kMeaning, Q(MeaningOf(d.name).text));
      row->setText(kA, Shown(d.value_a, d.raw_a));
      row->setText(kB, Shown(d.value_b, d.raw_b));
      row->setText(kRawA, Raw(d.raw_a));
      row->setText(kRawB, Raw(d.raw_b));
      row->setText(kDifference, Q(d.difference));
      for (int c : {kA, kB, kRawA, kRawB, kDifference}) {
        row->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
      }
      if (CompareModel::Pickable(d)) {
        row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        row->setCheckState(kItem,
                           model_.picked(d.name) ? Qt::Checked : Qt::Unchecked);
      } else {
        row->setFlags(Qt::ItemIsEnabled);
        row->setToolTip(kItem, "B has no value for this item to copy");
      }
    }
    top->setExpanded(true);
  }
}

void CompareWindow::RefreshGrids() {
  for (const TableItem& table : AllTables()) {
    const auto found = grids_.find(table.key);
    if (found == grids_.end()) continue;
    QTableWidget* grid = found->second;
    for (int i = 0; i < table.count; ++i) {
      const auto [row, column] = GridPlace(table, i);
      QTableWidgetItem* cell = grid->item(row, column);
      if (cell == nullptr) {
        cell = new QTableWidgetItem;
        cell->setTextAlignment(Qt::AlignCenter);
        grid->setItem(row, column, cell);
      }
      cell->setText(Q(model_.GridText(table, i)));
      const Rgb c = model_.GridColour(table, i);
      cell->setBackground(ToQColor(c));
      const ItemDifference* d = model_.Find(table, i);
      cell->setToolTip(d == nullptr ? QString()
                                    : QString("%1: A %2, B %3")
                                          .arg(Q(d->name))
                                          .arg(Shown(d->value_a, d->raw_a))
                                          .arg(Shown(d->value_b, d->raw_b)));
    }
  }
}

void CompareWindow::Picked(QTreeWidgetItem* item, int column) {
  if (refreshing_ || column != kItem || item->parent() == nullptr) return;
  picking_ = true;
  model_.SetPicked(item->text(kItem).toStdString(),
                   item->checkState(kItem) == Qt::Checked);
  picking_ = false;
}

}  // namespace ecu
