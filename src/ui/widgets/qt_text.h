#ifndef ECU_UI_WIDGETS_QT_TEXT_H_
#define ECU_UI_WIDGETS_QT_TEXT_H_

#include <QString>
#include <string_view>

namespace ecu {

// A core text (UTF-8) as Qt shows it.
inline QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<int>(text.size()));
}

}  // namespace ecu

#endif  // ECU_UI_WIDGETS_QT_TEXT_H_
