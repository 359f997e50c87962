#ifndef ECU_TESTS_SUPPORT_TEXT_H_
#define ECU_TESTS_SUPPORT_TEXT_H_

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/text_file.h"

namespace ecu::testing {

// The matchers most tests use; they print the text they looked at.
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::Ge;
using ::testing::HasSubstr;
using ::testing::Le;
using ::testing::StartsWith;

// True when a text (a program's output, a message) holds `part`.
inline bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// A text split at its line ends.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A whole file as bytes; empty when it cannot be read.
inline std::string ReadText(const std::string& path) {
  return ReadTextFile(path).value_or("");
}

// The lines of a text whose every line ends in CR LF.
inline std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos;
       start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  EXPECT_EQ(start, text.size()) << "text after the last CR LF";
  return lines;
}

}  // namespace ecu::testing

#endif  // ECU_TESTS_SUPPORT_TEXT_H_
