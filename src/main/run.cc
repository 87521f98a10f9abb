#include "main/run.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ast/analyze.h"
#include "config/config.h"
#include "files/discover.h"
#include "files/read.h"
#include "git/contents.h"
#include "git/selection.h"
#include "main/color.h"
#include "main/output.h"
#include "main/report.h"
#include "main/rule_docs.h"
#include "main/sanitize.h"
#include "rules/run_rules.h"
#include "util/migration_layout.h"
#include "util/path.h"

namespace tarn {

namespace {

std::vector<std::string> ids_of(const std::vector<RuleInfo>& infos) {
  std::vector<std::string> ids;
  ids.reserve(infos.size());
  for (const auto& info : infos) ids.push_back(info.id);
  return ids;
}

bool is_list_rules_allowed(const Cli& cli) {
  return cli.paths.size() == 1 && paths_equal(cli.paths[0], ".") && !cli.diff && !cli.diff_staged &&
         cli.output_format == OutputFormat::Default && !cli.select && !cli.ignore && !cli.warnings_as_errors;
}

void apply_cli_overrides(const Cli& cli, Config& config) {
  if (cli.select) config.select = std::set<std::string>(cli.select->begin(), cli.select->end());
  if (cli.ignore) config.ignore.insert(cli.ignore->begin(), cli.ignore->end());
  if (cli.warnings_as_errors) config.warnings_as_errors = true;
}

// Sets are visited in sorted order, so the unknown id named is always the same.
Status validate_rule_ids(const Config& config) {
  const std::vector<std::string> known = ids_of(rule_infos());
  for (const auto* set : {&config.select, &config.ignore}) {
    for (const auto& id : *set) {
      if (std::find(known.begin(), known.end(), id) == known.end()) return Error::unknown_rule(id, known);
    }
  }
  return ok_status();
}

// The text of one file to lint: from disk in path mode, from the index or
// HEAD's tree in git mode, never the working-tree copy there.
Result<std::string> migration_text(const std::optional<DiffContext>& git, const std::string& file) {
  if (!git) return read_regular_file(file, kMaxMigrationBytes);
  return git->staged ? read_staged_file(git->repo.get(), git->side.index.get(), file)
                     : read_head_file(git->repo.get(), git->side, file);
}

void report_file_error(const std::string& path, const Error& error) {
  write_stderr(error_line(path_to_string(path) + " - " + sanitize_for_terminal(error.message(), true)));
}

}  // namespace

Result<uint8_t> run(const Cli& cli) {
  // The rule page: the subcommand wins over every option.
  if (cli.command) {
    const auto& rule_id = std::get<Commands::Rule>(cli.command->value).rule_id;
    const auto infos = rule_infos();
    for (const auto& info : infos) {
      if (info.id == rule_id) {
        print_rule_page(info);
        return uint8_t{0};
      }
    }
    return Error::unknown_rule(rule_id, ids_of(infos));
  }
  // The rule table, which takes no input to lint.
  if (cli.list_rules) {
    if (!is_list_rules_allowed(cli)) {
      return Error::cli_usage("--list-rules cannot be combined with paths or linting flags");
    }
    TRY(print_rule_list());
    return uint8_t{0};
  }
  // The configuration, with the command line laid over it; every rule id it
  // names must exist before anything is read.
  TRY_ASSIGN(Config config, discover_config());
  apply_cli_overrides(cli, config);
  TRY(validate_rule_ids(config));

  // In git mode the repository and its change set, opened once for the run.
  std::optional<DiffContext> git;
  if (cli.diff || cli.diff_staged) {
    const bool staged = !cli.diff;
    TRY_ASSIGN(git, open_diff_context(staged ? *cli.diff_staged : *cli.diff, staged));
  }

  // The files to lint; git mode also lists every changed migration, deleted
  // ones included, for the changeset rules.
  std::vector<std::string> files;
  std::vector<std::string> changed_migrations;
  if (git) {
    TRY_ASSIGN(files, select_git_files(*git, cli.paths, config));
    TRY_ASSIGN(changed_migrations, collect_changed_migrations(*git, cli.paths, config.exclude));
  } else {
    TRY_ASSIGN(files, select_path_files(cli.paths, config.exclude));
  }
  // Nothing to lint: no output at all, not even an empty report.
  if (files.empty() && changed_migrations.empty()) return uint8_t{0};

  // Each file is read, analysed and checked. Files come sorted the way
  // findings are reported, so in path mode each file's findings are printed
  // as soon as they are sorted and memory does not grow with the corpus; git
  // mode keeps every record for the changeset rules and reports in one piece
  // at the end.
  const auto registry = all_rules();
  ReportPrinter printer(cli.output_format, color_enabled(), write_stdout);
  std::vector<Diagnostic> diagnostics;
  std::vector<ParsedMigration> migrations;
  bool file_errors = false;
  for (const auto& file : files) {
    Result<ParsedMigration> migration = [&]() -> Result<ParsedMigration> {
      TRY_ASSIGN(std::string text, migration_text(git, file));
      return parse_migration(file, std::move(text), git ? SyntaxErrorReport::Plain : SyntaxErrorReport::AtFirstError);
    }();
    if (!migration.ok()) {
      report_file_error(file, migration.error());
      file_errors = true;
      continue;
    }
    auto found = run_rules(registry, *migration, config);
    if (!git) {
      sort_diagnostics(found);
      printer.add(found);
      continue;
    }
    diagnostics.insert(diagnostics.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
    migrations.push_back(std::move(migration).value());
  }

  // Git mode: the rules over the whole change set, then the one sorted report.
  if (git) {
    TRY_ASSIGN(const auto changed_non_migrations, collect_changed_non_migrations(*git, cli.paths, config.exclude));
    std::vector<const ParsedMigration*> refs;
    refs.reserve(migrations.size());
    for (const auto& m : migrations) refs.push_back(&m);
    auto found = run_changeset_rules(changeset_rules(), refs, changed_migrations, changed_non_migrations, config);
    diagnostics.insert(diagnostics.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
    sort_diagnostics(diagnostics);
    printer.add(diagnostics);
  }

  // The end of the report; a file that could not be linted outranks findings.
  printer.finish();
  if (file_errors) return uint8_t{2};
  return uint8_t{printer.errors() > 0 ? uint8_t{1} : uint8_t{0}};
}

}  // namespace tarn
