#include "sim/virtual_ecu.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/sim/sim_command_line.h"
#include "core/calibration/catalogue.h"
#include "core/firmware_rig.h"
#include "core/link/frame.h"
#include "sim/calibration_commands.h"
#include "sim/firmware_loader.h"
#include "sim/memory_cells.h"
#include "sim/memory_dump.h"
#include "sim/memory_seed.h"
#include "sim/pty_server.h"
#include "sim/request_reader.h"
#include "sim/serial_line.h"
#include "support/temp_folder.h"
#include "support/wire_bytes.h"

namespace ecu::sim {
namespace {

using testing::AllOf;
using testing::Ask;
using testing::Bytes;
using testing::ElementsAre;
using testing::FirmwareLines;
using testing::HasSubstr;
using testing::RunTogether;

TEST(VirtualEcuTest, MainFrameFollowsTheEngineAndTheFullScale) {
  VirtualEcu ecu(SimOptions{});
  Ask(ecu, "A", 10.0);
  const double rpm = ecu.engine().state().rpm;
  std::string reply = Ask(ecu, "A", 10.0);
  EXPECT_NEAR(U16At(reply, 7) / 1023.0 * 10000, rpm, 10);
  ecu.memory().SetScalar("FS_RPM", 5000);
  reply = Ask(ecu, "A", 10.0);
  EXPECT_NEAR(U16At(reply, 7) / 1023.0 * 5000, rpm, 5);
}

TEST(VirtualEcuTest, ControllerRepliesOnTheWire) {
  VirtualEcu ecu(SimOptions{});
  EXPECT_EQ(Ask(ecu, Command(174, 165, 0, 0)),
            Bytes({0x02, 0x06, 0xAE, 0xA5, 0x5B, 0x01}));
  EXPECT_EQ(ecu.controller().resets, 1);
  EXPECT_FALSE(ecu.controller().awaiting_firmware);
  // Revision 10103 and serial number 123456, low byte first.
  EXPECT_EQ(Ask(ecu, "R"), Bytes({0x02, 0x07, 0x52, 0x77, 0x27, 0xF9, 0x00}));
  EXPECT_EQ(Ask(ecu, "-"),
            Bytes({0x02, 0x08, 0x2D, 0x40, 0xE2, 0x01, 0x5A, 0x01}));
  EXPECT_EQ(Ask(ecu, Command(174, 90, 0, 0)),
            Bytes({0x02, 0x06, 0xAE, 0x5A, 0x10, 0x01}));
  EXPECT_TRUE(ecu.controller().awaiting_firmware);
}

TEST(VirtualEcuTest, EgoSwitchRepliesWithoutDataAndIsRemembered) {
  VirtualEcu ecu(SimOptions{});
  EXPECT_EQ(Ask(ecu, "D"), Bytes({0x02, 0x05, 0x44, 0x4B, 0x00}));
  EXPECT_FALSE(ecu.engine().ego_closed_loop());
  EXPECT_EQ(Ask(ecu, "d"), Bytes({0x02, 0x05, 0x64, 0x6B, 0x00}));
  EXPECT_TRUE(ecu.engine().ego_closed_loop());
}

TEST(VirtualEcuTest, ThrottleCaptureEchoesAndStoresTheReading) {
  VirtualEcu ecu(SimOptions{});
  Ask(ecu, "A", 3.0);
  const int reading = ecu.engine().state().throttle_adc;
  std::string reply = Ask(ecu, Command(215, 0, 0, 0), 3.0);
  ASSERT_EQ(reply.size(), 6u);
  EXPECT_EQ(ByteAt(reply, 3), reading);
  EXPECT_EQ(ecu.memory().Scalar("TPS_BASE"), reading);
  reply = Ask(ecu, Command(216, 0, 0, 0), 3.0);
  EXPECT_EQ(ByteAt(reply, 2), 216);
  EXPECT_EQ(ecu.memory().Scalar("TPS_FS_V"), reading);
}

TEST(VirtualEcuTest, UnknownCommandsGetNoReply) {
  VirtualEcu ecu(SimOptions{});
  EXPECT_EQ(Ask(ecu, "\xC8"), "");
  EXPECT_EQ(Ask(ecu, Command(174, 1, 0, 0)), "");
  EXPECT_EQ(ecu.replies(), 0);
  // A handler plugged in later answers with the same framing.
  ecu.commands().Add(0xC8, [](const Request& r) {
    return std::optional(std::string(1, static_cast<char>(r.args[0])));
  });
  EXPECT_EQ(Ask(ecu, Command(0xC8, 9, 0, 0)),
            BuildReply(0xC8, std::string(1, 9)));
}

// What six requests for `command` bring with one fault set: per reply its
// chunks' sizes, "*" after a frame that does not check, "-" for none.
std::string Shapes(const SimOptions& options, const char* command = "R") {
  VirtualEcu ecu(options);
  std::string shapes;
  for (int i = 0; i < 6; ++i) {
    std::string whole;
    std::string shape;
    for (const Transmission& t : ecu.Receive(BuildRequest(command), 0)) {
      shape += (shape.empty() ? "" : "+") + std::to_string(t.bytes.size());
      whole += t.bytes;
    }
    if (shape.empty()) shape = "-";
    if (!whole.empty() && !IsValidReplyFrame(whole)) shape += "*";
    shapes += (shapes.empty() ? "" : " ") + shape;
  }
  return shapes;
}

TEST(VirtualEcuTest, FaultsHitEveryKthReplyAndADroppedOneGetsNoOther) {
  EXPECT_EQ(Shapes({.drop_every = 3}), "7 7 - 7 7 -");
  EXPECT_EQ(Shapes({.extra_byte_every = 2}), "7 8* 7 8* 7 8*");
  EXPECT_EQ(Shapes({.corrupt_every = 2}), "7 7* 7 7* 7 7*");
  // A well-formed frame of the wrong size; one without data cannot lose a
  // byte, so it gains one.
  EXPECT_EQ(Shapes({.wrong_length_every = 3}, "A"), "25 25 24 25 25 24");
  EXPECT_EQ(Shapes({.wrong_length_every = 1}, "d"), "6 6 6 6 6 6");
  EXPECT_EQ(Shapes({.split_every = 2}), "7 3+4 7 3+4 7 3+4");
  EXPECT_EQ(Shapes({.drop_every = 2, .corrupt_every = 2, .split_every = 1}),
            "3+4 - 3+4 - 3+4 -");
}

TEST(VirtualEcuTest, SplitGapAndDelayTimeTheChunks) {
  VirtualEcu ecu({.split_every = 1, .split_gap_s = 0.3, .delay_s = 0.05});
  const std::vector<Transmission> out = ecu.Receive(BuildRequest("A"), 0);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0].delay_s, 0.05);
  EXPECT_EQ(out[1].delay_s, 0.3);
}

TEST(VirtualEcuTest, FaultCycleTurnsEachFaultOnInTurn) {
  VirtualEcu ecu({.fault_cycle_s = 10});
  // Four replies of each phase, by the time they are asked: clean, silent,
  // dropped every 4th, then a bad checksum on every 4th.
  std::vector<std::string> seen;
  for (double t : {5.0, 15.0, 25.0, 35.0}) {
    std::string phase;
    for (int i = 0; i < 4; ++i) {
      const std::string reply = Ask(ecu, "R", t);
      phase += reply.empty() ? '-' : IsValidReplyFrame(reply) ? 'R' : 'x';
    }
    seen.push_back(phase);
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"RRRR", "----", "RRR-", "RRRx"}));
  // The last phase (late replies) gives way to a clean one.
  EXPECT_EQ(ecu.Receive(BuildRequest("R"), 75)[0].delay_s, 0.1);
  EXPECT_EQ(ecu.Receive(BuildRequest("R"), 85)[0].delay_s, 0.0);
}

TEST(VirtualEcuTest, LogShowsRequestsRepliesAndNoise) {
  VirtualEcu ecu({.corrupt_every = 1});
  std::vector<std::string> lines;
  ecu.set_log([&lines](const std::string& line) { lines.push_back(line); });
  ecu.Receive("\x55" + BuildRequest("A"), 1.5);
  ecu.Receive(BuildRequest("\xC8"), 2.0);
  EXPECT_THAT(
      lines,
      ElementsAre(
          HasSubstr("skipped 1 byte"),
          HasSubstr("1.500000 rx 'A' 02 08 41 30 30 30 DB 00"),
          AllOf(HasSubstr("tx 'A' 02 19 41 "), HasSubstr("[bad checksum]")),
          AllOf(HasSubstr("rx #200 02 08 C8"), HasSubstr("[no reply]"))));
}

std::string Seeded(uint32_t seed) {
  CalibrationMemory memory;
  FillRandomCalibration(memory, seed);
  return SetupFileText(memory);
}

TEST(MemoryDumpTest, WritesEveryLineAsTheConsoleSaveWould) {
  CalibrationMemory memory;
  FillDefaultCalibration(memory);
  memory.SetScalar("COOL_DEG", 251);  // -5 degrees: kept signed
  memory.SetScalar("TMP_THRS", 243);  // -13 degrees: kept as its byte
  memory.SetScalar("FUEL_B", 16384);  // 0 ms: kept with its bias
  memory.SetScalar("BAT_COMP", 38);
  SetCellValue(memory, *FindTable("SUPM"), 8, 16383);
  const std::vector<std::string> lines =
      testing::CrLfLines(SetupFileText(memory));
  ASSERT_EQ(lines.size(), 436u);
  std::vector<std::string> picked;
  for (int i : {0, 9, 10, 16, 24, 28, 29, 48, 49, 305, 345, 435}) {
    picked.push_back(lines[i]);
  }
  EXPECT_EQ(picked, (std::vector<std::string>{
                        "ACC_SEN = 50", "BAT_COMP= 38", "FS_RPM  = 10000",
                        "TMP_THRS= 243", "FUEL_B  = 16384", "COOL_DEG= -5",
                        "BAT_COMP= 38", "MNRPMDCL= 1500", "MAPM[000]=128",
                        "PTBL[000]=1", "SUPM[008]=16383", "IDLE[008]=100"}));
}

TEST(MemoryDumpTest, ReplacesTheFileWhole) {
  testing::TempFolder folder;
  const std::string path = folder.Write("dump.set", "an older dump");
  CalibrationMemory memory;
  FillRandomCalibration(memory, 5);
  ASSERT_TRUE(WriteMemoryDump(memory, path));
  EXPECT_EQ(testing::ReadText(path), SetupFileText(memory));
  EXPECT_FALSE(WriteMemoryDump(memory, "/no-such-folder/dump.set"));
}

TEST(MemorySeedTest, RandomContentsFollowTheSeedAndStayPlausible) {
  EXPECT_EQ(Seeded(42), Seeded(42));
  EXPECT_NE(Seeded(42), Seeded(43));
  for (uint32_t seed = 0; seed < 50; ++seed) {
    CalibrationMemory memory;
    FillRandomCalibration(memory, seed);
    const int full_scale = *memory.Scalar("FS_RPM");
    EXPECT_GE(full_scale, 6000);
    EXPECT_LE(full_scale, 12000);
    EXPECT_NE(*memory.Scalar("MAP_TYPE"), 2);  // gauge sensor: idle reads 0
    EXPECT_LE(*memory.Scalar("MAP_TYPE"), 3);
    for (const ScalarItem& item : AllScalars()) {
      EXPECT_LE(*memory.Scalar(item.key), item.width == 2 ? 0xFFFF : 0xFF);
    }
  }
}

TEST(MemorySeedTest, SeedOptionAlsoDrawsTheCalibration) {
  std::string error;
  auto line =
      ParseSimCommandLine({"--seed", "9", "--dump", "/tmp/d.set"}, &error);
  ASSERT_TRUE(line) << error;
  EXPECT_TRUE(line->options.random_calibration);
  EXPECT_EQ(line->options.seed, 9u);
  EXPECT_EQ(line->dump_path, "/tmp/d.set");
  EXPECT_FALSE(ParseSimCommandLine({"--dump"}, &error));
}

class CalibrationCommandsTest : public ::testing::Test {
 protected:
  VirtualEcu ecu_{SimOptions{}};
  CalibrationMemory& memory_ = ecu_.memory();
};

TEST_F(CalibrationCommandsTest, ByteCellReadAndWriteOnTheWire) {
  // Fuel map cell 5 holding a gain of 1.00.
  memory_.SetTableByte(0x105, 128);
  EXPECT_EQ(Ask(ecu_, Command('E', 0x05, 0x01, 0)),
            Bytes({0x02, 0x08, 0x45, 0x05, 0x01, 0x80, 0xD5, 0x00}));
  EXPECT_EQ(Ask(ecu_, Command('e', 0x05, 0x01, 160)),
            Bytes({0x02, 0x08, 0x65, 0x05, 0x01, 0xA0, 0x15, 0x01}));
  EXPECT_EQ(memory_.TableByte(0x105), 160);
  EXPECT_EQ(ByteAt(Ask(ecu_, Command('E', 0x05, 0x01, 0)), 5), 160);
}

TEST_F(CalibrationCommandsTest, AddressesOutsideEveryTableGetNoReply) {
  // A map cell's low byte without its high byte, between two curves, after
  // the ignition tables, and beyond all of them.
  for (int address : {0x0005, 0x0079, 0x0209, 0x0249, 0x0300}) {
    EXPECT_EQ(Ask(ecu_, Command('e', address & 0xFF, address >> 8, 9)), "")
        << address;
    EXPECT_EQ(Ask(ecu_, Command('E', address & 0xFF, address >> 8, 0)), "")
        << address;
    EXPECT_NE(memory_.TableByte(address), 9) << address;
  }
  // Either end of a range answers.
  EXPECT_NE(Ask(ecu_, Command('E', 0x70, 0x00, 0)), "");
  EXPECT_NE(Ask(ecu_, Command('E', 0x78, 0x00, 0)), "");
  // Word cells: one past TPSM's last cell, and below SUPM.
  EXPECT_EQ(Ask(ecu_, Command('x', 0xC5, 1, 2)), "");
  EXPECT_EQ(Ask(ecu_, Command('X', 0xA1, 0, 0)), "");
}

TEST_F(CalibrationCommandsTest, WordCellsTravelLowByteFirst) {
  EXPECT_EQ(Ask(ecu_, Command('x', 0xA2, 0x10, 0x27)),
            Bytes({0x02, 0x08, 0x78, 0xA2, 0x10, 0x27, 0x5B, 0x01}));
  EXPECT_EQ(memory_.Word(0xA2), 10000);
  const std::string read = Ask(ecu_, Command('X', 0xA2, 0, 0));
  EXPECT_EQ(read.substr(2, 4), Bytes({0x58, 0xA2, 0x10, 0x27}));
  // The neighbouring cell is untouched.
  EXPECT_EQ(memory_.Word(0xA4), 0);
}

TEST_F(CalibrationCommandsTest, PhaseTableReadWholeAndWrittenByCell) {
  EXPECT_EQ(Ask(ecu_, Command(127, 0, 0, 0)).substr(2, 9),
            Bytes({0x7F, 1, 2, 4, 8, 1, 2, 4, 8}));
  EXPECT_EQ(Ask(ecu_, Command(128, 3, 0x55, 0)),
            Bytes({0x02, 0x07, 0x80, 0x03, 0x55, 0xE1, 0x00}));
  EXPECT_EQ(memory_.PhaseCell(3), 0x55);
  // Index 8 would wrap onto cell 0: refused.
  EXPECT_EQ(Ask(ecu_, Command(128, 8, 0x77, 0)), "");
  EXPECT_EQ(memory_.PhaseCell(0), 1);
}

TEST_F(CalibrationCommandsTest, BlockBHasItsLayout) {
  memory_.SetScalar("FUEL_B", 0x4000);
  memory_.SetScalar("FUEL_MX", 0x1234);
  memory_.SetScalar("ACC_MINP", 0x0102);
  memory_.SetScalar("ACC_MAXP", 0xFFEE);
  memory_.SetScalar("BAT_COMP", 0x99);
  const std::string reply = Ask(ecu_, "B");
  ASSERT_EQ(reply.size(), 14u);
  EXPECT_TRUE(IsValidReplyFrame(reply));
  EXPECT_EQ(reply.substr(2, 10),
            Bytes({'B', 0x00, 0x40, 0x34, 0x12, 0x02, 0x01, 0xEE, 0xFF, 0x99}));
}

TEST_F(CalibrationCommandsTest, WritesEchoInTheLayoutOfTheirRead) {
  // HOT_P_PW 16.0 ms: low, high, 0 out; the same two bytes back.
  EXPECT_EQ(Ask(ecu_, Command('s', 0x10, 0x27, 0)),
            Bytes({0x02, 0x07, 0x73, 0x10, 0x27, 0xB3, 0x00}));
  EXPECT_EQ(Ask(ecu_, "S").substr(3, 2), Bytes({0x10, 0x27}));
  // TMP_THRS -13: one byte out, one byte back.
  EXPECT_EQ(Ask(ecu_, Command('w', 0xF3, 0, 0)),
            Bytes({0x02, 0x06, 0x77, 0xF3, 0x72, 0x01}));
  EXPECT_EQ(*memory_.Scalar("TMP_THRS"), 243);
}

using Frames = std::vector<std::string>;

const std::string kMainRequest = BuildRequest("A");  // 02 08 41 30 30 30 DB 00
const std::string kResetRequest = BuildRequest(Command(174, 165, 0, 0));

TEST(RequestReaderTest, RequestSplitAnywhereIsReassembled) {
  for (size_t cut = 1; cut < kMainRequest.size(); ++cut) {
    RequestReader reader;
    EXPECT_EQ(reader.Add(kMainRequest.substr(0, cut)), Frames{}) << cut;
    EXPECT_EQ(reader.Add(kMainRequest.substr(cut)), Frames{kMainRequest})
        << cut;
    EXPECT_EQ(reader.pending(), 0u);
  }
}

TEST(RequestReaderTest, NoiseAndBrokenRequestsAreSkippedAndCounted) {
  std::string bad_sum = kMainRequest;
  bad_sum[7] = 0x01;
  struct Case {
    std::string bytes;
    Frames frames;
    int skipped;
  };
  const std::vector<Case> cases = {
      {kMainRequest + kResetRequest + kMainRequest,
       {kMainRequest, kResetRequest, kMainRequest},
       0},
      {"\xFF\x08\x02\x41" + kMainRequest, {kMainRequest}, 4},
      // A bad checksum: back in step at the next start byte.
      {bad_sum + kResetRequest, {kResetRequest}, 8},
      // A first try that lost its tail, the retry at once behind it: the 8
      // bytes from its 0x02 0x08 are not a frame.
      {kMainRequest.substr(0, 4) + kMainRequest, {kMainRequest}, 4},
  };
  for (const Case& c : cases) {
    RequestReader reader;
    int skipped = -1;
    EXPECT_EQ(reader.Add(c.bytes, &skipped), c.frames);
    EXPECT_EQ(skipped, c.skipped);
    EXPECT_EQ(reader.pending(), 0u);
  }
}

TEST(RequestReaderTest, StartByteAtTheEndIsKeptForTheNextRead) {
  RequestReader reader;
  EXPECT_EQ(reader.Add("\x55\x02"), Frames{});
  EXPECT_EQ(reader.pending(), 1u);
  EXPECT_EQ(reader.Add(kMainRequest.substr(1)), Frames{kMainRequest});
}

std::string Feed(FirmwareLoader& loader, std::string_view bytes) {
  std::string reply;
  EXPECT_EQ(loader.Receive(bytes, &reply), bytes.size());
  return reply;
}

// The console reacts to a capital B or E wherever it appears.
void ExpectSignalOnlyAtTheEnd(const std::string& said, char signal) {
  ASSERT_FALSE(said.empty());
  EXPECT_EQ(said.back(), signal) << said;
  EXPECT_EQ(said.find_first_of("BE"), said.size() - 1) << said;
}

TEST(FirmwareLoaderTest, TakesRecordsRunTogetherOrOneALine) {
  const std::vector<std::string> lines = FirmwareLines(8);
  std::string one_a_line;
  for (const std::string& line : lines) one_a_line += line + "\r\n";
  for (const std::string& stream : {RunTogether(lines), one_a_line}) {
    FirmwareLoader loader;
    ExpectSignalOnlyAtTheEnd(Feed(loader, "q"), 'B');
    std::string said;
    for (char c : stream) said += Feed(loader, std::string_view(&c, 1));
    EXPECT_EQ(said, "\r\n10 records, flash complete\r\n");
    EXPECT_EQ(loader.received(), "q" + stream);
  }
}

TEST(FirmwareLoaderTest, EachKindOfBadRecordGetsEAndTheLoaderWaitsForQ) {
  const std::string good = testing::S1Record(0x100, "abcd");
  std::string spoilt_sum = good;
  spoilt_sum.back() = spoilt_sum.back() == '0' ? '1' : '0';
  const std::vector<std::pair<std::string, std::string>> cases = {
      {spoilt_sum, "bad checksum"},
      {good.substr(0, good.size() - 2) + "\r\n", "shorter than its"},
      {good + "7F", "unexpected character"},  // longer than its count
      {"S1020000FD", "byte count too small"},
      {"S4030000FC", "unknown record type"},
      {"S1130G00", "bad character"},
  };
  for (const auto& [bad, why] : cases) {
    FirmwareLoader loader;
    const std::string said = Feed(loader, "S00600004844521B" + bad + good);
    ExpectSignalOnlyAtTheEnd(said, 'E');
    EXPECT_THAT(said, HasSubstr(why));
    // Nothing more counts until "q" starts again.
    const int good_before = loader.good_records();
    EXPECT_EQ(Feed(loader, good + "S9030000FC"), "");
    EXPECT_EQ(Feed(loader, "q").back(), 'B');
    Feed(loader, good);
    EXPECT_EQ(loader.good_records(), good_before + 1) << bad;
  }
}

TEST(VirtualEcuLoaderTest, ReflashCommandStartsTheLoaderAndAFlashEndsIt) {
  VirtualEcu ecu(SimOptions{});
  ASSERT_EQ(ecu.Receive(BuildRequest(Command(174, 90, 0, 0)), 0.1).size(), 1u);
  // No request frames are read while the loader has the line.
  ASSERT_EQ(ecu.Receive("q", 0.2).size(), 1u);
  ecu.Receive(RunTogether(FirmwareLines(2)) + "\r\n", 0.3);
  EXPECT_TRUE(ecu.controller().awaiting_firmware);
  // The next request reaches the restarted controller.
  const auto revision = ecu.Receive(BuildRequest("R"), 0.4);
  ASSERT_EQ(revision.size(), 1u);
  EXPECT_EQ(revision[0].bytes, BuildReply('R', "\x77\x27"));
  EXPECT_EQ(ecu.loader().received(),
            "q" + RunTogether(FirmwareLines(2)) + "\r\n");
}

namespace fs = std::filesystem;

// Reads until `count` bytes are in or the time-out passes.
std::string ReadBytes(int fd, size_t count, int timeout_ms) {
  std::string got;
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (got.size() < count) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd pfd = {fd, POLLIN, 0};
    if (poll(&pfd, 1, static_cast<int>(left.count())) <= 0) continue;
    char buffer[64];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0) got.append(buffer, static_cast<size_t>(n));
  }
  return got;
}

TEST(PtyServerTest, AnswersARequestOnTheSlaveDevice) {
  VirtualEcu ecu(SimOptions{});
  PtyServer server;
  std::string error;
  ASSERT_TRUE(server.Open(&error)) << error;
  std::thread loop([&] { server.Run(ecu, kSecondsPerByte); });

  for (int attempt = 0; attempt < 2; ++attempt) {
    // The console may close the port and open it again.
    const int fd = open(server.device_path().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    const std::string request = BuildRequest("A");
    ASSERT_EQ(write(fd, request.data(), request.size()), 8);
    const std::string reply = ReadBytes(fd, 25, 2000);
    EXPECT_EQ(reply.size(), 25u);
    EXPECT_TRUE(IsValidReplyFrame(reply));
    close(fd);
  }
  server.Stop();
  loop.join();
}

TEST(PtyServerTest, LinkReplacesAnOldLinkButNeverAFile) {
  testing::TempFolder folder;
  const fs::path link = folder.Path("ecu");
  const fs::path file = folder.Write("precious", "keep");
  fs::create_symlink("/dev/null", link);
  {
    PtyServer server;
    std::string error;
    ASSERT_TRUE(server.Open(&error)) << error;
    ASSERT_TRUE(server.Link(link.string(), &error)) << error;
    EXPECT_EQ(fs::read_symlink(link).string(), server.device_path());
    EXPECT_FALSE(server.Link(file.string(), &error));
    EXPECT_TRUE(fs::is_regular_file(file));
  }
  // Gone with the server; the file is untouched.
  EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
  EXPECT_TRUE(fs::is_regular_file(file));
}

constexpr double kByte = kSecondsPerByte;

// The request's 8 bytes all read at t = 0, as a pty hands them over.
double RequestDone(SerialLine& line) {
  double done = 0;
  for (int i = 0; i < 8; ++i) done = line.Arrive(0.0);
  return done;
}

TEST(SerialLineTest, RoundTripOfRequestAndMainFrameTakesItsLineTime) {
  SerialLine line(kByte);
  const double done = RequestDone(line);
  EXPECT_DOUBLE_EQ(done, 8 * kByte);
  line.Send({{std::string(25, 'x'), 0.0}}, done);
  // Each byte falls due when its last bit is across: 33 byte times in all,
  // 17.19 ms at 19200 baud.
  EXPECT_DOUBLE_EQ(*line.NextDue(), 9 * kByte);
  EXPECT_EQ(line.TakeDue(33 * kByte - 1e-9).size(), 24u);
  EXPECT_EQ(line.TakeDue(33 * kByte).size(), 1u);
  EXPECT_FALSE(line.NextDue().has_value());
  EXPECT_NEAR(33 * kByte, 0.0172, 0.0001);
}

TEST(SerialLineTest, IncomingBytesQueueBehindEachOther) {
  SerialLine line(kByte);
  EXPECT_DOUBLE_EQ(line.Arrive(1.0), 1.0 + kByte);
  EXPECT_DOUBLE_EQ(line.Arrive(1.0), 1.0 + 2 * kByte);
  // After a quiet spell the line starts afresh.
  EXPECT_DOUBLE_EQ(line.Arrive(5.0), 5.0 + kByte);
}

TEST(SerialLineTest, ReplyWaitsForTheOneStillGoingOut) {
  SerialLine line(kByte);
  line.Send({{"abcd", 0.0}}, 0.0);
  line.Send({{"ef", 0.0}}, kByte);  // second request done while "abcd" goes
  EXPECT_EQ(line.TakeDue(4 * kByte), "abcd");
  EXPECT_EQ(line.TakeDue(5 * kByte), "e");
  EXPECT_EQ(line.TakeDue(6 * kByte), "f");
}

TEST(SerialLineTest, ChunkDelaysCountFromTheEndOfThePreviousChunk) {
  SerialLine line(kByte);
  line.Send({{"ab", 0.1}, {"cd", 0.2}}, 1.0);
  EXPECT_DOUBLE_EQ(*line.NextDue(), 1.1 + kByte);
  EXPECT_EQ(line.TakeDue(1.1 + 2 * kByte), "ab");
  EXPECT_DOUBLE_EQ(*line.NextDue(), 1.3 + 3 * kByte);
}

TEST(SerialLineTest, WithoutPacingOnlyTheDelaysCount) {
  SerialLine line(0.0);
  EXPECT_EQ(line.Arrive(2.0), 2.0);
  line.Send({{"ab", 0.0}, {"cd", 0.5}}, 2.0);
  EXPECT_EQ(line.TakeDue(2.0), "ab");
  EXPECT_EQ(line.TakeDue(2.49), "");
  EXPECT_EQ(line.TakeDue(2.5), "cd");
}

}  // namespace
}  // namespace ecu::sim
