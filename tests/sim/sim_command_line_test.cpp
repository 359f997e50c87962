#include "sim/sim_command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ecu::sim {
namespace {

std::optional<SimCommandLine> Parse(std::vector<std::string> args,
                                    std::string* error = nullptr) {
  std::string ignored;
  return ParseSimCommandLine(args, error ? error : &ignored);
}

TEST(SimCommandLineTest, BadOptionsAreRefusedWithAReason) {
  const std::vector<std::vector<std::string>> bad = {{"--frobnicate"},
                                                     {"--drop-every"},
                                                     {"--drop-every", "-1"},
                                                     {"--drop-every", "2x"},
                                                     {"--corrupt-every", ""},
                                                     {"--delay", "-0.1"},
                                                     {"--split-gap", "soon"},
                                                     {"--delay", "inf"},
                                                     {"--revision", "65536"},
                                                     {"--serial", "16777216"},
                                                     {"--seed", "4294967296"},
                                                     {"--link", ""},
                                                     {"--dump", ""}};
  for (const auto& args : bad) {
    std::string error;
    EXPECT_FALSE(Parse(args, &error)) << args[0];
    EXPECT_NE(error.find(args[0]), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace ecu::sim
