#ifndef ECU_UI_COMPARE_WINDOW_H_
#define ECU_UI_COMPARE_WINDOW_H_

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QWidget>
#include <map>
#include <string_view>

#include "core/workbench/compare_model.h"

namespace ecu {

// "Compare Calibrations": A (the ECU or a setup file) against B (a setup
// file); the differing items grouped by table with check boxes for the
// copy, and the fuel map and curves as grids coloured by difference. A view
// of CompareModel.
class CompareWindow : public QWidget {
  Q_OBJECT

 public:
  CompareWindow(CompareModel& model, EcuLink& link, QWidget* parent = nullptr);
  ~CompareWindow() override;

  // Shows the model as it is now.
  void Refresh();
  QSize sizeHint() const override { return {900, 640}; }

 private:
  QWidget* BuildSources();
  QWidget* BuildGrids();
  void Browse(QLineEdit* path);
  void RefreshList();
  void RefreshGrids();
  void Picked(QTreeWidgetItem* item, int column);

  CompareModel& model_;
  EcuLink& link_;
  QComboBox* a_kind_ = nullptr;
  QLineEdit* a_path_ = nullptr;
  QPushButton* a_browse_ = nullptr;
  QLineEdit* b_path_ = nullptr;
  QLabel* summary_ = nullptr;
  QTreeWidget* list_ = nullptr;
  std::map<std::string_view, QTableWidget*> grids_;
  QPushButton* run_ = nullptr;
  QPushButton* copy_ = nullptr;
  bool refreshing_ = false;
  bool picking_ = false;
};

}  // namespace ecu

#endif  // ECU_UI_COMPARE_WINDOW_H_
