#include "core/calibration/calibration_requests.h"

#include "core/link/frame.h"

namespace ecu {

CommandOutcome ReadScalar(EcuLink& link, const ScalarItem& item) {
  return link.SendCommand(ScalarReadCommand(item));
}

CommandOutcome ReadConfigurationBlock(EcuLink& link) {
  return link.SendCommand(Command(kConfigurationBlock));
}

CommandOutcome ReadCell(EcuLink& link, const TableItem& table, int index) {
  return link.SendCommand(CellReadCommand(table, index));
}

CommandOutcome WriteScalar(EcuLink& link, const ScalarItem& item, int raw) {
  return link.SendCommand(ScalarWriteCommand(item, raw));
}

CommandOutcome WriteCell(EcuLink& link, const TableItem& table, int index,
                         int raw) {
  return link.SendCommand(CellWriteCommand(table, index, raw));
}

}  // namespace ecu
