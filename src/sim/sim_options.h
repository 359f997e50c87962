#ifndef ECU_SIM_SIM_OPTIONS_H_
#define ECU_SIM_SIM_OPTIONS_H_

#include <cstdint>

namespace ecu::sim {

// What the virtual engine drives through.
enum class DriveCycle {
  kPresent,  // idle, a blip up to cruise and back, every 40 s
  kSweep,    // every cell of the fuel map in turn, a few minutes a round
};

// How the virtual ECU behaves. Every fault is off by default; the "every"
// counts are taken over the replies the ECU makes (k-th, 2k-th, ...).
struct SimOptions {
  bool silent = false;         // never answer
  int drop_every = 0;          // drop every k-th reply (0 = never)
  int corrupt_every = 0;       // corrupt the checksum of every k-th reply
  int split_every = 0;         // send every k-th reply in two chunks ...
  double split_gap_s = 0.2;    // ... with this gap between them
  int extra_byte_every = 0;    // append one trailing byte to every k-th reply
  int wrong_length_every = 0;  // every k-th reply one data byte short (length
                               // byte consistent, checksum valid)
  double delay_s = 0.0;        // fixed delay before every reply
  double fault_cycle_s = 0.0;  // each fault in turn for this long (0: off)
  uint32_t seed = 1;           // engine model noise
  DriveCycle drive = DriveCycle::kPresent;
  // The engine runs this many times faster than the clock.
  double time_scale = 1.0;
  // The default fuel map differs from the engine's true requirement by up
  // to this many percent per cell (0: it matches).
  double true_map_error_percent = 0.0;
  bool loader_mode = false;  // start stopped, waiting for new firmware
  // Fill the calibration at random from `seed` instead of the default one.
  bool random_calibration = false;

  int revision = 10103;             // firmware revision, shown as V1.01.03
  uint32_t serial_number = 123456;  // three bytes on the wire
};

}  // namespace ecu::sim

#endif  // ECU_SIM_SIM_OPTIONS_H_
