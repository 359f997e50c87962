#include "sim/sim_command_line.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>

namespace ecu::sim {
namespace {

// A whole decimal integer in [lowest, highest].
std::optional<long long> IntegerIn(const std::string& text, long long lowest,
                                   long long highest) {
  long long value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end || value < lowest ||
      value > highest) {
    return std::nullopt;
  }
  return value;
}

// A whole, finite, non-negative number of seconds.
std::optional<double> Seconds(const std::string& text) {
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (*end != '\0' || !std::isfinite(value) || value < 0.0) {
    return std::nullopt;
  }
  return value;
}

constexpr long long kMaxEvery = 1000000;

}  // namespace

std::optional<SimCommandLine> ParseSimCommandLine(
    const std::vector<std::string>& args, std::string* error) {
  SimCommandLine line;
  SimOptions& o = line.options;

  // Options without a value.
  const std::map<std::string, std::function<void()>> flags = {
      {"--silent", [&] { o.silent = true; }},
      {"--loader", [&] { o.loader_mode = true; }},
      {"--no-pacing", [&] { line.pacing = false; }},
      {"--help", [&] { line.help = true; }},
      {"-h", [&] { line.help = true; }},
  };
  // Options with a value: each returns false when the value is no good.
  const auto every = [](int& field) {
    return [&field](const std::string& v) {
      const auto k = IntegerIn(v, 0, kMaxEvery);
      if (k) field = static_cast<int>(*k);
      return k.has_value();
    };
  };
  const auto seconds = [](double& field) {
    return [&field](const std::string& v) {
      const auto s = Seconds(v);
      if (s) field = *s;
      return s.has_value();
    };
  };
  const auto text = [](std::string& field) {
    return [&field](const std::string& v) {
      field = v;
      return !v.empty();
    };
  };
  const std::map<std::string, std::function<bool(const std::string&)>> valued =
      {
          {"--drop-every", every(o.drop_every)},
          {"--corrupt-every", every(o.corrupt_every)},
          {"--split-every", every(o.split_every)},
          {"--split-gap", seconds(o.split_gap_s)},
          {"--extra-byte-every", every(o.extra_byte_every)},
          {"--wrong-length-every", every(o.wrong_length_every)},
          {"--delay", seconds(o.delay_s)},
          {"--seed",
           [&o](const std::string& v) {
             const auto n = IntegerIn(v, 0, 0xFFFFFFFFLL);
             if (n) o.seed = static_cast<uint32_t>(*n);
             o.random_calibration = n.has_value();
             return n.has_value();
           }},
          {"--revision",
           [&o](const std::string& v) {
             const auto n = IntegerIn(v, 0, 0xFFFF);
             if (n) o.revision = static_cast<int>(*n);
             return n.has_value();
           }},
          {"--serial",
           [&o](const std::string& v) {
             const auto n = IntegerIn(v, 0, 0xFFFFFF);
             if (n) o.serial_number = static_cast<uint32_t>(*n);
             return n.has_value();
           }},
          {"--link", text(line.link_path)},
          {"--log", text(line.log_path)},
          {"--loader-log", text(line.loader_log_path)},
          {"--dump", text(line.dump_path)},
      };

  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (const auto flag = flags.find(arg); flag != flags.end()) {
      flag->second();
      continue;
    }
    const auto option = valued.find(arg);
    if (option == valued.end()) {
      *error = "unknown option " + arg;
      return std::nullopt;
    }
    if (i + 1 >= args.size()) {
      *error = arg + " needs a value";
      return std::nullopt;
    }
    const std::string& value = args[++i];
    if (!option->second(value)) {
      *error = "bad value for " + arg + ": " + value;
      return std::nullopt;
    }
  }
  return line;
}

std::string SimUsage() {
  return R"(Usage: ecu-sim [options]
A virtual ECU on a pseudo-terminal. Prints the device path to open.

  --link PATH              also make PATH a symbolic link to the device
  --log PATH               log every request and reply with a time stamp
  --no-pacing              send at once instead of at 19200 baud
  --seed N                 engine model noise (default 1), and a random
                           calibration drawn from N instead of the default
  --dump PATH              write the calibration as a setup file on SIGUSR1
                           and at exit
  --revision N             firmware revision 0..65535 (default 10103)
  --serial N               serial number 0..16777215 (default 123456)
  --loader                 start stopped, waiting for new firmware
  --loader-log PATH        write every byte the firmware loader receives
Faults (K counts replies: the K-th, 2K-th, ... reply is hit; 0 = never):
  --silent                 never answer
  --drop-every K           do not send the reply
  --corrupt-every K        send it with a wrong checksum
  --split-every K          send it in two halves ...
  --split-gap S            ... with S seconds between them (default 0.2)
  --extra-byte-every K     add one byte after the checksum
  --wrong-length-every K   send a well-formed reply one data byte short
  --delay S                wait S seconds before every reply
  --help                   this text
)";
}

}  // namespace ecu::sim
