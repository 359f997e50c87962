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

TEST(SimCommandLineTest, EveryOptionReachesItsField) {
  const auto line = Parse({"--silent",   "--drop-every",
                           "2",          "--corrupt-every",
                           "3",          "--split-every",
                           "4",          "--split-gap",
                           "0.5",        "--extra-byte-every",
                           "5",          "--wrong-length-every",
                           "6",          "--delay",
                           "0.01",       "--seed",
                           "4000000000", "--revision",
                           "65535",      "--serial",
                           "16777215",   "--loader",
                           "--link",     "/tmp/ecu",
                           "--log",      "/tmp/ecu.log",
                           "--no-pacing"});
  ASSERT_TRUE(line);
  const SimOptions& o = line->options;
  EXPECT_TRUE(o.silent);
  EXPECT_EQ(o.drop_every, 2);
  EXPECT_EQ(o.corrupt_every, 3);
  EXPECT_EQ(o.split_every, 4);
  EXPECT_EQ(o.split_gap_s, 0.5);
  EXPECT_EQ(o.extra_byte_every, 5);
  EXPECT_EQ(o.wrong_length_every, 6);
  EXPECT_EQ(o.delay_s, 0.01);
  EXPECT_EQ(o.seed, 4000000000u);
  EXPECT_EQ(o.revision, 65535);
  EXPECT_EQ(o.serial_number, 16777215u);
  EXPECT_TRUE(o.loader_mode);
  EXPECT_EQ(line->link_path, "/tmp/ecu");
  EXPECT_EQ(line->log_path, "/tmp/ecu.log");
  EXPECT_FALSE(line->pacing);
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
