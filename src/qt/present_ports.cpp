#include "qt/present_ports.h"

#include <QSerialPortInfo>

namespace ecu {

std::vector<PresentPort> PresentPorts() {
  std::vector<PresentPort> ports;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    PresentPort port;
    port.device = info.systemLocation().toStdString();
    port.description = info.description().toStdString();
    port.maker = info.manufacturer().toStdString();
    if (info.hasVendorIdentifier()) port.vendor_id = info.vendorIdentifier();
    if (info.hasProductIdentifier()) {
      port.product_id = info.productIdentifier();
    }
    ports.push_back(std::move(port));
  }
  return ports;
}

}  // namespace ecu
