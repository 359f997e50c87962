#ifndef ECU_CORE_CONSOLE_CONSOLE_COMMAND_LINE_H_
#define ECU_CORE_CONSOLE_CONSOLE_COMMAND_LINE_H_

#include <string>
#include <vector>

namespace ecu {

// What the console's command line asks for besides a plain start (whose
// only word is "demo").
enum class ConsoleRequest { kRun, kHelp, kVersion };

// --help or --version alone asks for that text; anything else starts the
// console, which reads the words as it always has ("demo" or nothing).
ConsoleRequest ReadConsoleRequest(const std::vector<std::string>& arguments);

// The file named alone on the command line (the file manager's "Open
// With"), or an empty text. "demo" keeps its usual meaning.
std::string NamedFile(const std::vector<std::string>& arguments);

// The text of ecu-console --help; its man page is made from it.
std::string ConsoleUsage();

}  // namespace ecu

#endif  // ECU_CORE_CONSOLE_CONSOLE_COMMAND_LINE_H_
