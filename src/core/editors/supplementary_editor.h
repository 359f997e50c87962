#ifndef ECU_CORE_EDITORS_SUPPLEMENTARY_EDITOR_H_
#define ECU_CORE_EDITORS_SUPPLEMENTARY_EDITOR_H_

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/calibration/field_board.h"
#include "core/editors/editor_context.h"
#include "core/editors/refilling_editor.h"
#include "core/editors/supplementary_source.h"

namespace ecu {

// The cells of "Supplimental Driver Mapping" (frm_sup): nine duty points,
// k = 0 at the bottom, and the coolant threshold of the last source.
inline constexpr std::string_view kDutyCells = "map_data";
inline constexpr std::string_view kCoolantThreshold = "cool_thrsh";

// The source option buttons (supp_source) and what follows the choice. An
// option's yellow text marks a choice made here and not yet sent; all six
// are yellow while the ECU's choice has not been read.
struct SourceSelector {
  std::optional<int> selected;
  std::array<Rgb, kSourceCount> text_colours{};
  std::string m_src = "4";  // the source number the axis and pointer follow
  std::string source_units;
  std::vector<std::string> labels;  // Label5, bottom to top
};

// What the window redraws besides the cells.
struct SupplementaryListener {
  std::function<void()> source_changed;  // options, m_src, axis
  std::function<void()> live_changed;    // the pointer
};

// The supplementary driver editor: duty map, source and coolant threshold;
// the fill on every activation, the update, the reset of the map and the
// live pointer on the axis of the chosen source.
class SupplementaryEditor : public RefillingEditor {
 public:
  explicit SupplementaryEditor(EditorContext ctx);

  void Fill() override;
  void Update() override;
  void RequestReset() { cells().RequestReset(kDutyCells); }

  // A source option was clicked: the choice is marked changed and the axis
  // follows it.
  void ChooseSource(int source);
  const SourceSelector& source() const { return source_; }

  // After each polling pass of this window: the pointer follows the live
  // value of the source in m_src.
  void AfterPollingPass();
  // Where the pointer stands on the axis (0 bottom point, 1 top); nothing
  // before it was first placed.
  std::optional<double> pointer() const { return pointer_; }

  void set_listener(SupplementaryListener listener) {
    listener_ = std::move(listener);
  }

 protected:
  // The source's reply and echo as well as the cells'.
  void Subscribe() override;
  // The source as not yet read.
  void Discarded() override;
  // The source whose read failed shows no option chosen.
  int UnknownControls() const override { return source_.selected ? 0 : 1; }

 private:
  void ShowSource(std::optional<int> selected, Rgb text_colour);
  // m_src as a number, and the axis and labels that go with it.
  void SetSourceNumber(std::string text);
  int SourceNumber() const;
  void Relabel();
  void SourceChanged();

  EditorContext ctx_;
  SourceSelector source_;
  std::optional<double> pointer_;
  std::vector<FieldBoard::Subscription> subscriptions_;
  SupplementaryListener listener_;
};

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_SUPPLEMENTARY_EDITOR_H_
