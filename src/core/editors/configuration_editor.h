#ifndef ECU_CORE_EDITORS_CONFIGURATION_EDITOR_H_
#define ECU_CORE_EDITORS_CONFIGURATION_EDITOR_H_

#include <functional>

#include "core/editors/configuration_order.h"
#include "core/editors/configuration_switches.h"
#include "core/editors/editor_context.h"
#include "core/editors/key_rules.h"
#include "core/editors/table_editor.h"
#include "core/link/window_activation.h"

namespace ecu {

// The throttle end points the two "Cal." buttons capture.
enum class TpsEndPoint { kClosed = 0, kOpen = 1 };

// "Configuration" (frm_tool): the engine configuration constants in text
// fields, check boxes and option groups, and the injector phase matrix. It
// fills itself on every activation, sends what was changed in its own
// order with each constant's checks, and captures the throttle end points.
class ConfigurationEditor {
 public:
  explicit ConfigurationEditor(EditorContext ctx);
  ConfigurationEditor(const ConfigurationEditor&) = delete;
  ConfigurationEditor& operator=(const ConfigurationEditor&) = delete;

  TableEditor& fields() { return fields_; }
  const TableEditor& fields() const { return fields_; }
  ConfigurationSwitches& switches() { return switches_; }
  const ConfigurationSwitches& switches() const { return switches_; }

  // The window was shown; once it is up it is activated.
  void Shown() {
    activation_.Shown([this] { Activate(); });
  }
  // Disabled at once, filled once the link is idle.
  void Activate();
  // Reads the window, and again while values stay unknown and the user
  // asks for it.
  void Fill();
  // The window is no longer in use: decoded items no longer reach it.
  void Hidden();

  // Enter in a text field (most of them) runs the update; no other key is
  // the editor's.
  KeyOutcome KeyPressed(CellRef ref, const EditorKeyPress& key);
  // Enter on the TPS Mapped check box runs the update too.
  void KeyOnSwitch(SwitchRef ref, const EditorKeyPress& key);
  void Click(SwitchRef ref) { switches_.Click(ref); }

  // From a user action: runs once no transaction is in progress.
  void RequestUpdate();
  void Update();
  void RequestTpsCapture(TpsEndPoint end);
  void CaptureTps(TpsEndPoint end);

  bool enabled() const { return fields_.enabled(); }

 private:
  void ReadWindow();
  // Steps of the update that are not text fields.
  void SendSwitchValue(std::string_view key, int raw);
  void SendPhaseRows();
  // The configuration block again, after a new full scale: the RPM fields
  // are shown against it. Fields still waiting to be sent keep their entry.
  void ReadBlockKeepingChanges();
  bool StepMarked(const UpdateStep& step) const;
  // Sends one marked step; true when a field's text could not be sent.
  bool SendStep(const UpdateStep& step);

  EditorContext ctx_;
  TableEditor fields_;
  ConfigurationSwitches switches_;
  WindowActivation activation_;
  // The unknown OPTIONS were refused once in this update pass.
  bool options_refused_ = false;
};

}  // namespace ecu

#endif  // ECU_CORE_EDITORS_CONFIGURATION_EDITOR_H_
