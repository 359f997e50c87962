#include "core/editors/block_modifier.h"

#include "core/numbers/leading_number.h"
#include "core/numbers/number_format.h"
#include "core/workbench/block_interpolation.h"

namespace ecu {
namespace {

constexpr std::string_view kNoOperandMessage =
    "The value for this operation is not a number, no cell has been modified";

}  // namespace

float ApplyOperation(BlockOperation operation, float value, float operand) {
  switch (operation) {
    case BlockOperation::kMultiply:
      return value * operand;
    case BlockOperation::kAdd:
      return value + operand;
    case BlockOperation::kSetAll:
      return operand;
    case BlockOperation::kSubtract:
      return value - operand;
    case BlockOperation::kDivide:
      return operand == 0.0f ? value : value / operand;
    default:
      break;
  }
  return value;
}

BlockModifier::BlockModifier(TableEditor& cells, std::string_view family,
                             const BlockSelection& selection, Prompts& prompts)
    : cells_(cells),
      family_(family),
      selection_(selection),
      prompts_(prompts) {}

void BlockModifier::Open() { SetShown(true); }

const std::string& BlockModifier::OperandFor(BlockOperation operation) const {
  switch (operation) {
    case BlockOperation::kMultiply:
    case BlockOperation::kDivide:
      return multiply;
    case BlockOperation::kAdd:
    case BlockOperation::kSubtract:
      return add;
    default:
      return set_value;
  }
}

void BlockModifier::Press(BlockOperation operation) {
  if (operation == BlockOperation::kCancel) {
    Unload();
    return;
  }
  const bool shaping = operation >= BlockOperation::kInterpolateHorizontal;
  const std::string& operand = OperandFor(operation);
  if (!shaping && !StartsWithNumber(operand)) {
    prompts_.Tell(std::string(kNoOperandMessage));
    return;
  }
  Message question;
  question.title = "CAUTION!";
  question.text =
      "This operation will modify a group of cells and cannot be undone. "
      "Continue?";
  question.buttons = Buttons::kYesNo;
  question.icon = Icon::kExclamation;
  question.default_button = 1;
  if (prompts_.Show(question) != Answer::kYes) return;
  TableEditor::EditGroup step(cells_);
  if (shaping) {
    Shape(operation);
  } else {
    Apply(operation, static_cast<float>(LeadingNumber(operand)));
  }
  SetShown(false);
}

void BlockModifier::Apply(BlockOperation operation, float operand) {
  const CellFamily* family = cells_.FindFamily(family_);
  if (family == nullptr) return;
  const int columns = selection_.columns();
  const int rows = selection_.rows();
  for (int k = 0; k < columns * rows && k < family->count; ++k) {
    if (!InBlock(selection_.bounds(), k, columns, rows)) continue;
    const CellRef ref{family->name, k};
    // A cell without a number (never read) is left as it is.
    if (!StartsWithNumber(cells_.text(ref))) continue;
    const float value = static_cast<float>(LeadingNumber(cells_.text(ref)));
    cells_.ReplaceText(
        ref, FormatNumber(ApplyOperation(operation, value, operand), "0.00"));
  }
}

void BlockModifier::Shape(BlockOperation operation) {
  const CellFamily* family = cells_.FindFamily(family_);
  if (family == nullptr) return;
  GridValues grid{selection_.columns(), selection_.rows(), {}};
  for (int k = 0; k < grid.columns * grid.rows; ++k) {
    const CellRef ref{family->name, k};
    if (k < family->count && StartsWithNumber(cells_.text(ref))) {
      grid.cells.emplace_back(LeadingNumber(cells_.text(ref)));
    } else {
      grid.cells.emplace_back();
    }
  }
  static constexpr BlockShaping kShapings[] = {
      BlockShaping::kHorizontal, BlockShaping::kVertical,
      BlockShaping::kBilinear, BlockShaping::kSmooth};
  const BlockShaping shaping =
      kShapings[static_cast<int>(operation) -
                static_cast<int>(BlockOperation::kInterpolateHorizontal)];
  // Written like the other operations: single precision, "0.00", marked.
  for (const auto& [k, value] :
       ShapeBlock(grid, selection_.bounds(), shaping)) {
    cells_.ReplaceText({family->name, k},
                       FormatNumber(static_cast<float>(value), "0.00"));
  }
}

void BlockModifier::SetShown(bool shown) {
  shown_ = shown;
  if (shown_changed_) shown_changed_();
}

void BlockModifier::Unload() {
  set_value = kSetValueDefault;
  add = kAddDefault;
  multiply = kMultiplyDefault;
  SetShown(false);
}

}  // namespace ecu
