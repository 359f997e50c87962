#ifndef ECU_CORE_CALIBRATION_FIELD_BOARD_H_
#define ECU_CORE_CALIBRATION_FIELD_BOARD_H_

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "core/signal.h"

namespace ecu {

// A decoded calibration item on its way to the field that shows it. The
// receiving editor puts the text in the field (element `index` of a control
// array, kNoIndex for a single control) and paints it white: the ECU has
// confirmed it. For a check box or option `raw` is the bit it shows.
struct FieldUpdate {
  std::string_view window;
  std::string_view field;
  int index;
  std::string text;
  int32_t raw;
};

// Where reply decoding posts what it decoded, so that decoding never needs
// to know which windows exist. An editor subscribes to its fields while it is
// open; a field nobody subscribed to is simply not shown. The same control
// name lives on more than one window (map_data, ecu_pgm), so subscriptions
// are keyed by window and field.
class FieldBoard {
 public:
  using Listener = std::function<void(const FieldUpdate&)>;
  // Ends its subscription when destroyed. The board must outlive it.
  using Subscription = ecu::Subscription;

  // Every update of the field, whatever its index, goes to `listener`.
  [[nodiscard]] Subscription Subscribe(std::string_view window,
                                       std::string_view field,
                                       Listener listener);
  void Publish(const FieldUpdate& update) const;
  bool HasSubscriber(std::string_view window, std::string_view field) const;

 private:
  struct Entry {
    std::string window;
    std::string field;
    std::shared_ptr<Listener> listener;
  };
  std::map<long, Entry> entries_;
  long next_id_ = 1;
};

}  // namespace ecu

#endif  // ECU_CORE_CALIBRATION_FIELD_BOARD_H_
