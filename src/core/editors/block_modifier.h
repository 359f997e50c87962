#ifndef ECU_CORE_EDITORS_BLOCK_MODIFIER_H_
#define ECU_CORE_EDITORS_BLOCK_MODIFIER_H_

#include <functional>
#include <string>
#include <string_view>

#include "core/editors/block_selection.h"
#include "core/editors/table_editor.h"
#include "core/platform/prompts.h"

namespace ecu {

// The buttons cell_operation 0..5 of "Modify Block of Cells", and after
// them the shaping buttons 6..9, which need no operand.
enum class BlockOperation {
  kCancel = 0,
  kMultiply = 1,
  kAdd = 2,
  kSetAll = 3,
  kSubtract = 4,
  kDivide = 5,
  kInterpolateHorizontal = 6,
  kInterpolateVertical = 7,
  kInterpolateBilinear = 8,
  kSmooth = 9,
};

// The new value of a cell (single precision, as the cells were always
// computed). Dividing by 0 leaves the value as it is.
float ApplyOperation(BlockOperation operation, float value, float operand);

// The block modifier: one arithmetic operation on the selected block of a
// grid family, written back as text that marks each cell changed. Nothing is
// sent until the editor's update.
class BlockModifier {
 public:
  // Operand boxes as the window is loaded.
  static constexpr std::string_view kSetValueDefault = "1.000";
  static constexpr std::string_view kAddDefault = "0.000";
  static constexpr std::string_view kMultiplyDefault = "1.000";

  BlockModifier(TableEditor& cells, std::string_view family,
                const BlockSelection& selection, Prompts& prompts);

  // The operand boxes set_value, Add and multiply.
  std::string set_value{kSetValueDefault};
  std::string add{kAddDefault};
  std::string multiply{kMultiplyDefault};

  // Shown after each block selection.
  void Open();
  // A button. Cancel unloads the window (the operands start afresh next
  // time); an operation asks first and hides the window when done.
  void Press(BlockOperation operation);
  // The window's close box: unloaded as by Cancel.
  void Close() { Unload(); }

  bool shown() const { return shown_; }
  // Called when the window is to be shown or hidden.
  void set_shown_changed(std::function<void()> f) {
    shown_changed_ = std::move(f);
  }

 private:
  const std::string& OperandFor(BlockOperation operation) const;
  void Apply(BlockOperation operation, float operand);
  // Interpolation and smoothing: the block from its edges or neighbours.
  void Shape(BlockOperation operation);
  void SetShown(bool shown);
  void Unload();

  TableEditor& cells_;
  std::string_view family_;
  const BlockSelection& selection_;
  Prompts& prompts_;
  bool shown_ = false;
  std::function<void()> shown_changed_;
};

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_BLOCK_MODIFIER_H_
