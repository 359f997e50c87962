#include "core/link/live_decoding.h"

#include "core/link/frame.h"
#include "core/numbers/number_format.h"

namespace ecu {

void DecodeLiveFrame(std::string_view f, LiveData& live) {
  // Divisions in double precision, stored in single, field by field.
  live.MAP =
      static_cast<float>(U16At(f, 3) / 1023.0 * live.MapSpan + live.MapOffset);
  live.TPS = static_cast<float>(U16At(f, 5) / 1023.0 * 100.0);
  const float unfiltered =
      static_cast<float>(U16At(f, 7) / 1023.0 * live.FullScaleRpm);
  live.RPM = unfiltered;
  float gamma = static_cast<float>(U16At(f, 9) / 101.0);
  if (gamma < 0.3f) gamma = 0.3f;
  live.Gamma = gamma;
  live.Lambda = 1.0f / live.Gamma;
  live.PW = static_cast<float>(U16At(f, 11) * 0.0000016);
  live.CLT = static_cast<float>(S8At(f, 13));
  live.MAT = static_cast<float>(S8At(f, 14));
  live.BatteryVolts = static_cast<float>(ByteAt(f, 15) / 255.0 * 20.0);
  live.EgoCorrection = static_cast<float>(ByteAt(f, 16) / 64.0);
  live.MapEnrichment = static_cast<float>(ByteAt(f, 17) / 128.0);
  live.AccelEnrichment =
      static_cast<float>(U16At(f, 18) / 65535.0 * 0.104856 * 1000.0);
  live.CltEnrichment = static_cast<float>(ByteAt(f, 20) / 64.0);
  live.Baro = static_cast<float>(U16At(f, 21) / 1023.0 * 115.0 + 10.0);
  // The tach filter smooths the speed with the previous value.
  live.RPM = live.PreviousRpm +
             (unfiltered - live.PreviousRpm) * live.TachFilterFactor;
  live.PreviousRpm = live.RPM;
}

void DecodeAuxFrame(std::string_view f, LiveData& live) {
  const int raw = U16At(f, 5);
  live.AuxVolts = static_cast<float>(raw / 1024.0 * 5.0);
  live.AuxValue = static_cast<float>(raw / 1024.0 * 600.0 - 100.0);
}

void DecodeIdleAirFrame(std::string_view f, LiveData& live) {
  live.IacState = ByteAt(f, 3);
  live.IacError = ByteAt(f, 4);
  live.IacPosition = U16At(f, 5);
  live.IacRpmSetpoint = U16At(f, 7);
}

void DecodeActiveMapFrame(std::string_view f, LiveData& live) {
  live.MapNumber = ByteAt(f, 3);
}

void AddLiveReplies(ReplyTable& replies, LiveData& live,
                    std::function<void(const std::string&)> map_number_shown) {
  replies.Add(kLiveFrame, kLiveFrameLength, [&live](std::string_view f) {
    DecodeLiveFrame(f, live);
    return true;
  });
  replies.Add(kAuxFrame, 7, [&live](std::string_view f) {
    DecodeAuxFrame(f, live);
    return true;
  });
  replies.Add(kIdleAirFrame, 9, [&live](std::string_view f) {
    DecodeIdleAirFrame(f, live);
    return true;
  });
  replies.Add(kActiveMapFrame, 10,
              [&live, shown = std::move(map_number_shown)](std::string_view f) {
                DecodeActiveMapFrame(f, live);
                if (shown) shown(FormatNumber(live.MapNumber, "0"));
                return true;
              });
}

std::string IacStateName(int state) {
  switch (state) {
    case 1:
      return "SHTDWN";
    case 2:
      return "HOME";
    case 3:
      return "ST_POS";
    case 4:
      return "OPENING";
    case 5:
      return "CLOSING";
    case 6:
      return "CLOSED";
    default:
      return "????";
  }
}

}  // namespace ecu
