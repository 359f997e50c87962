#include "app/command_line/checked_options.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "core/numbers/checked_number.h"

namespace ecu::command_line {
namespace {

std::string WithRange(const std::string& help, double lowest, double highest) {
  return help + " (" + RangeText(lowest, highest) + ")";
}

}  // namespace

CLI::Option* AddWholeNumber(CLI::App& app, const std::string& name,
                            int64_t lowest, int64_t highest,
                            std::function<void(int64_t)> store,
                            const std::string& help) {
  auto read = [name, lowest, highest,
               store = std::move(store)](const CLI::results_t& results) {
    std::string problem;
    const auto value =
        CheckedWholeNumber(results.front(), lowest, highest, &problem);
    if (!value) throw CLI::ValidationError(name, problem);
    store(*value);
    return true;
  };
  return app
      .add_option(name, std::move(read),
                  WithRange(help, static_cast<double>(lowest),
                            static_cast<double>(highest)))
      ->type_name("N")
      ->expected(1);
}

CLI::Option* AddDecimalNumber(CLI::App& app, const std::string& name,
                              double lowest, double highest,
                              std::function<void(double)> store,
                              const std::string& help) {
  auto read = [name, lowest, highest,
               store = std::move(store)](const CLI::results_t& results) {
    std::string problem;
    const auto value =
        CheckedDecimalNumber(results.front(), lowest, highest, &problem);
    if (!value) throw CLI::ValidationError(name, problem);
    store(*value);
    return true;
  };
  return app
      .add_option(name, std::move(read), WithRange(help, lowest, highest))
      ->type_name("X")
      ->expected(1);
}

CLI::Option* AddSeconds(CLI::App& app, const std::string& name, double highest,
                        std::function<void(double)> store,
                        const std::string& help) {
  return AddDecimalNumber(app, name, 0.0, highest, std::move(store), help)
      ->type_name("S");
}

ParseOutcome Parse(CLI::App& app, std::vector<std::string> args) {
  // CLI11 takes the arguments last first.
  std::reverse(args.begin(), args.end());
  try {
    app.parse(args);
  } catch (const CLI::CallForAllHelp&) {
    return {ParseOutcome::Kind::kHelp, app.help("", CLI::AppFormatMode::All)};
  } catch (const CLI::CallForHelp&) {
    // The help of the command it follows, if any.
    return {ParseOutcome::Kind::kHelp, app.help()};
  } catch (const CLI::ParseError& error) {
    return {ParseOutcome::Kind::kUsageError, error.what()};
  }
  return {};
}

int Report(const ParseOutcome& outcome, const std::string& program) {
  if (outcome.kind == ParseOutcome::Kind::kHelp) {
    std::fputs(outcome.text.c_str(), stdout);
    return 0;
  }
  std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", program.c_str(),
               outcome.text.c_str(), program.c_str());
  return kExitUsage;
}

void SetUpHelp(CLI::App& app, const std::string& footer) {
  app.footer(footer);
  app.get_formatter()->column_width(34);
}

}  // namespace ecu::command_line
