#include "ui/supplementary_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QRadioButton>
#include <QTest>
#include <algorithm>

#include "core/link/frame.h"
#include "ui/console_rig.h"

namespace ecu {
namespace {

using testing::ConsoleRig;

// The console with the supplementary driver window opened and filled.
struct SupplementaryRig : ConsoleRig {
  explicit SupplementaryRig(std::vector<std::string> arguments = {})
      : ConsoleRig(std::move(arguments)) {
    EXPECT_TRUE(Trigger("menu_View_supp"));
    EXPECT_TRUE(StartLoop());
    window =
        static_cast<SupplementaryWindow*>(app->WindowOf(View::kSupplementary));
    QApplication::processEvents();
  }
  template <typename T = QLineEdit>
  T* Get(const QString& name) {
    return window->findChild<T*>(name);
  }
  QString Label(const QString& name) { return Get<QLabel>(name)->text(); }
  SupplementaryWindow* window = nullptr;
};

TEST(SupplementaryWindowTest, FillsFromTheVirtualEcuAndSendsTheEdits) {
  SupplementaryRig rig;
  ASSERT_NE(rig.window, nullptr);
  EXPECT_EQ(rig.window->windowTitle(), "Supplimental Driver Mapping");
  const std::vector<std::string> fields = rig.TakeRequests();
  const auto fill = std::find(fields.begin(), fields.end(), "[000");
  ASSERT_GE(fields.end() - fill, 11);
  EXPECT_EQ(*(fill + 1), Command('X', 0xA2, 0, 0));
  EXPECT_EQ(*(fill + 10), std::string(1, static_cast<char>(153)) + "000");
  EXPECT_TRUE(rig.prompts.shown().empty()) << rig.prompts.texts()[0];
  // The virtual ECU starts with the map disabled.
  EXPECT_TRUE(rig.Get<QRadioButton>("supp_source_4")->isChecked());
  EXPECT_EQ(rig.Label("m_src"), "4");
  EXPECT_EQ(rig.Label("source_units"), "No Map Source");
  EXPECT_EQ(rig.Get("cool_thrsh")->text(), "93");
  EXPECT_EQ(rig.Get("map_data_0")->text(), "0.00");

  rig.Get<QRadioButton>("supp_source_2")->click();
  rig.Get<QRadioButton>("supp_source_1")->click();
  EXPECT_TRUE(rig.Get<QRadioButton>("supp_source_1")->isChecked());
  EXPECT_EQ(rig.Label("m_src"), "1");
  EXPECT_EQ(rig.Label("source_units"), "TPS %");
  QLineEdit* cell = rig.Get("map_data_2");
  cell->setFocus();
  cell->selectAll();
  QTest::keyClicks(cell, "150");
  rig.port.ClearWritten();
  QTest::keyClick(cell, Qt::Key_Return);
  EXPECT_EQ(rig.TakeRequests(),
            (std::vector<std::string>{Command('x', 0xA6, 0xFF, 0x3F),
                                      Command(']', 1, 0, 0)}));
  EXPECT_EQ(cell->text(), "100.00");
  EXPECT_EQ(rig.Get<QRadioButton>("supp_source_1")
                ->palette()
                .color(QPalette::WindowText),
            QColor(0, 0, 0));
}

}  // namespace
}  // namespace ecu
