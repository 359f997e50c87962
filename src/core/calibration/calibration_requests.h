#ifndef ECU_CORE_CALIBRATION_CALIBRATION_REQUESTS_H_
#define ECU_CORE_CALIBRATION_CALIBRATION_REQUESTS_H_

#include "core/calibration/catalogue.h"
#include "core/link/ecu_link.h"

namespace ecu {

// The calibration transfers as transactions. The replies land where
// decoding puts them (image, field board); the outcome says whether one came.
CommandOutcome ReadScalar(EcuLink& link, const ScalarItem& item);
CommandOutcome ReadConfigurationBlock(EcuLink& link);
CommandOutcome ReadCell(EcuLink& link, const TableItem& table, int index);
CommandOutcome WriteScalar(EcuLink& link, const ScalarItem& item, int raw);
CommandOutcome WriteCell(EcuLink& link, const TableItem& table, int index,
                         int raw);

}  // namespace ecu

#endif  // ECU_CORE_CALIBRATION_CALIBRATION_REQUESTS_H_
