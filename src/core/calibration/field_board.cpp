#include "core/calibration/field_board.h"

#include <vector>

namespace ecu {

FieldBoard::Subscription FieldBoard::Subscribe(std::string_view window,
                                               std::string_view field,
                                               Listener listener) {
  const long id = next_id_++;
  entries_[id] = Entry{std::string(window), std::string(field),
                       std::make_shared<Listener>(std::move(listener))};
  return Subscription([this, id] { entries_.erase(id); });
}

void FieldBoard::Publish(const FieldUpdate& update) const {
  // A listener may open or close windows, and so subscribe or cancel, while
  // it runs: go through a snapshot, skipping whoever has cancelled meanwhile.
  std::vector<std::pair<long, std::shared_ptr<Listener>>> listeners;
  for (const auto& [id, entry] : entries_) {
    if (entry.window == update.window && entry.field == update.field) {
      listeners.emplace_back(id, entry.listener);
    }
  }
  for (const auto& [id, listener] : listeners) {
    if (entries_.count(id) != 0) (*listener)(update);
  }
}

bool FieldBoard::HasSubscriber(std::string_view window,
                               std::string_view field) const {
  for (const auto& [id, entry] : entries_) {
    if (entry.window == window && entry.field == field) return true;
  }
  return false;
}

}  // namespace ecu
