#include "main/cli.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "main/color.h"
#include "main/sanitize.h"
#include "util/utf8.h"

namespace tarn {

namespace {

constexpr std::array<std::string_view, 3> kOutputFormats = {"default", "json", "compact"};

constexpr std::array<ArgDef, 1> kRuleArgs = {
    positional_arg("rule_id", "RULE_ID", "The rule ID (e.g., R001)").mandatory(),
};

constexpr std::array<CommandDef, 1> kSubcommands = {
    CommandDef{"rule", "Show documentation for a specific rule", "", kRuleArgs, {}, true},
};

// The order here is the order of the help listing.
constexpr std::array<ArgDef, 8> kTarnArgs = {
    positional_arg("paths", "PATHS", "Paths to lint (files or directories)").with_default(".").repeated().bytes(),
    option_arg("diff", "diff", "REF", "Compare against a git reference (branch, tag, or commit)"),
    option_arg("diff_staged", "diff-staged", "REF",
               "Compare staged changes against a git reference (for pre-commit hooks)")
        .conflicting_with("diff"),
    option_arg("output_format", "output-format", "OUTPUT_FORMAT", "Output format")
        .with_default("default")
        .with_possible_values(kOutputFormats),
    option_arg("select", "select", "SELECT", "Select specific rules to run (comma-separated)")
        .repeated()
        .comma_separated(),
    option_arg("ignore", "ignore", "IGNORE", "Ignore specific rules (comma-separated)").repeated().comma_separated(),
    flag_arg("warnings_as_errors", "warnings-as-errors", "Treat warnings as errors"),
    flag_arg("list_rules", "list-rules", "List every rule the binary recognises and exit"),
};

constexpr CommandDef kTarn{
    "tarn", "A PostgreSQL migration safety linter for Django, Alembic, and Aerich", "0.7.0", kTarnArgs, kSubcommands,
    true};

// The implied `help` subcommand of every command that has subcommands.
constexpr std::array<ArgDef, 1> kHelpCommandArgs = {
    positional_arg("subcommand", "COMMAND", "Print help for the subcommand(s)").repeated(),
};
constexpr CommandDef kHelpCommand{
    "help", "Print this message or the help of the given subcommand(s)", "", kHelpCommandArgs, {}, false};

constexpr ArgDef builtin_flag(ArgKind kind, char short_name, std::string_view name, std::string_view help) {
  ArgDef a = make_arg(name, kind, name, {}, help);
  a.short_name = short_name;
  return a;
}
constexpr ArgDef kHelpFlag = builtin_flag(ArgKind::Help, 'h', "help", "Print help");
constexpr ArgDef kVersionFlag = builtin_flag(ArgKind::Version, 'V', "version", "Print version");

// Help output is laid out for this width; wider help texts go below their argument.
constexpr size_t kHelpWidth = 100;
constexpr size_t kShortColumn = 4;  // "-h, "
constexpr size_t kNextLineIndent = 10;

// ---- Similarity ------------------------------------------------------------

std::u32string code_points(std::string_view text) {
  const std::string valid = utf8_lossy(text);
  std::u32string out;
  size_t pos = 0;
  while (pos < valid.size()) out.push_back(decode_utf8(valid, pos));
  return out;
}

size_t display_width(std::string_view text) { return code_points(text).size(); }

// The most similar candidate above the threshold; the later one wins a tie.
std::optional<std::string_view> did_you_mean(std::string_view input, const std::vector<std::string_view>& candidates) {
  std::optional<std::string_view> best;
  double best_score = 0;
  for (std::string_view c : candidates) {
    const double score = jaro_similarity(input, c);
    if (score > 0.7 && (!best || score >= best_score)) {
      best = c;
      best_score = score;
    }
  }
  return best;
}

// ---- Styling ---------------------------------------------------------------

class Styler {
 public:
  explicit Styler(bool on) : on_(on) {}
  std::string header(std::string_view t) const { return wrap(t, "1;4"); }
  std::string literal(std::string_view t) const { return wrap(t, "1"); }
  std::string error(std::string_view t) const { return wrap(t, "1;31"); }
  std::string valid(std::string_view t) const { return wrap(t, "32"); }
  std::string invalid(std::string_view t) const { return wrap(t, "33"); }

 private:
  std::string wrap(std::string_view t, std::string_view codes) const {
    if (!on_ || t.empty()) return std::string(t);
    std::string out = "\x1b[";
    out += codes;
    out += 'm';
    out += t;
    out += "\x1b[0m";
    return out;
  }
  bool on_;
};

// User text echoed in a message: lossy UTF-8, control characters escaped.
std::string shown(std::string_view raw) { return sanitize_for_terminal(raw, true); }

// ---- Rendering of the definition -------------------------------------------

std::vector<const ArgDef*> all_args(const CommandDef& cmd) {
  std::vector<const ArgDef*> out;
  for (const ArgDef& a : cmd.args) out.push_back(&a);
  if (cmd.help_flag) out.push_back(&kHelpFlag);
  if (!cmd.version.empty()) out.push_back(&kVersionFlag);
  return out;
}

std::vector<const CommandDef*> all_subcommands(const CommandDef& cmd) {
  std::vector<const CommandDef*> out;
  for (const CommandDef& sc : cmd.subcommands) out.push_back(&sc);
  if (!out.empty()) out.push_back(&kHelpCommand);
  return out;
}

std::string positional_display(const ArgDef& a) {
  std::string out = a.required ? "<" : "[";
  out += a.value_name;
  out += a.required ? ">" : "]";
  if (a.repeatable) out += "...";
  return out;
}

// How an argument is named in messages: "--diff <REF>", "--list-rules", "[PATHS]...".
std::string arg_display(const ArgDef& a) {
  if (a.kind == ArgKind::Positional) return positional_display(a);
  std::string out = "--";
  out += a.long_name;
  if (a.kind == ArgKind::Option) {
    out += " <";
    out += a.value_name;
    out += ">";
  }
  return out;
}

std::string usage(const CommandDef& cmd, std::string_view bin, const Styler& s) {
  std::string out = s.header("Usage:") + " " + s.literal(bin);
  const bool has_options = std::any_of(cmd.args.begin(), cmd.args.end(),
                                       [](const ArgDef& a) { return a.kind != ArgKind::Positional; });
  if (has_options) out += " [OPTIONS]";
  for (const ArgDef& a : cmd.args) {
    if (a.kind == ArgKind::Positional) out += " " + positional_display(a);
  }
  if (!cmd.subcommands.empty()) out += " [COMMAND]";
  return out;
}

std::string help_with_extras(const ArgDef& a) {
  std::vector<std::string> extras;
  if (!a.default_value.empty()) extras.push_back("[default: " + std::string(a.default_value) + "]");
  if (!a.possible_values.empty()) {
    std::string pv = "[possible values: ";
    for (size_t i = 0; i < a.possible_values.size(); ++i) {
      if (i) pv += ", ";
      pv += a.possible_values[i];
    }
    extras.push_back(pv + "]");
  }
  std::string out(a.help);
  for (const std::string& e : extras) {
    if (!out.empty()) out += ' ';
    out += e;
  }
  return out;
}

struct HelpRow {
  std::string styled;
  size_t width = 0;
  std::string help;
};

// One section of rows, aligned in two columns, or each help on the line below
// its argument when some help would not fit beside the widest argument.
std::string render_rows(const std::vector<HelpRow>& rows, size_t extra_taken) {
  size_t longest = 2;
  for (const HelpRow& r : rows) longest = std::max(longest, r.width);
  const size_t taken = longest + 4 + extra_taken;
  bool next_line = false;
  for (const HelpRow& r : rows) {
    next_line = next_line || (kHelpWidth >= taken && static_cast<double>(taken) / kHelpWidth > 0.40 &&
                              display_width(r.help) > kHelpWidth - taken);
  }
  std::string out;
  for (const HelpRow& r : rows) {
    out += "  " + r.styled;
    if (!r.help.empty()) {
      out += next_line ? "\n" + std::string(kNextLineIndent, ' ') : std::string(longest - r.width + 2, ' ');
      out += r.help;
    }
    out += '\n';
  }
  return out;
}

std::string render_help(const CommandDef& cmd, std::string_view bin, const Styler& s) {
  std::string out;
  if (!cmd.about.empty()) out += std::string(cmd.about) + "\n\n";
  out += usage(cmd, bin, s) + "\n";

  std::vector<HelpRow> commands, positionals, options;
  for (const CommandDef* sc : all_subcommands(cmd)) {
    commands.push_back({s.literal(sc->name), display_width(sc->name), std::string(sc->about)});
  }
  for (const ArgDef* a : all_args(cmd)) {
    if (a->kind == ArgKind::Positional) {
      const std::string text = positional_display(*a);
      positionals.push_back({text, display_width(text), help_with_extras(*a)});
      continue;
    }
    HelpRow row;
    if (a->short_name) {
      const std::string short_text = std::string("-") + a->short_name;
      row.styled = s.literal(short_text) + ", ";
    } else {
      row.styled = std::string(kShortColumn, ' ');
    }
    const std::string long_text = "--" + std::string(a->long_name);
    row.styled += s.literal(long_text);
    row.width = kShortColumn + display_width(long_text);
    if (a->kind == ArgKind::Option) {
      const std::string value = " <" + std::string(a->value_name) + ">";
      row.styled += value;
      row.width += display_width(value);
    }
    row.help = help_with_extras(*a);
    options.push_back(std::move(row));
  }

  const auto section = [&](std::string_view title, const std::vector<HelpRow>& rows, size_t extra_taken) {
    if (rows.empty()) return;
    out += "\n" + s.header(title) + "\n" + render_rows(rows, extra_taken);
  };
  section("Commands:", commands, 0);
  section("Arguments:", positionals, 0);
  section("Options:", options, kShortColumn);
  return out;
}

// ---- Parsing ---------------------------------------------------------------

struct ArgMatch {
  bool present = false;
  size_t first_seen = 0;  // occurrence rank, for naming the earlier of two conflicting arguments
  std::vector<std::string> values;
};

struct LevelMatches {
  const CommandDef* cmd = nullptr;
  std::vector<ArgMatch> args;  // parallel to cmd->args
  const CommandDef* sub = nullptr;
  std::unique_ptr<LevelMatches> sub_matches;

  const ArgMatch& get(std::string_view id) const {
    for (size_t i = 0; i < cmd->args.size(); ++i) {
      if (cmd->args[i].id == id) return args[i];
    }
    static const ArgMatch kAbsent;
    return kAbsent;
  }
};

using Stop = std::optional<CliExit>;

class Parser {
 public:
  Parser(const std::vector<std::string>& words, CliStyling styling)
      : words_(words), out_(styling.stdout_styled), err_(styling.stderr_styled) {}

  Stop parse_level(const CommandDef& cmd, const std::string& bin, size_t i, LevelMatches& m);

 private:
  struct Level {
    const CommandDef& cmd;
    const std::string& bin;
    LevelMatches& m;
    std::vector<size_t> positionals;  // indexes into cmd.args
    size_t slot = 0;                  // the positional that takes the next value
    bool trailing = false;            // after "--"
    bool room() const { return slot < positionals.size(); }
  };

  struct LongLookup {
    const ArgDef* arg;
    Stop stop;
  };
  LongLookup look_up_long(const Level& lv, std::string_view word) const;
  Stop parse_long(Level& lv, size_t& i);
  Stop missing_value(Level& lv, const ArgDef& pending, const std::string& next);
  Stop parse_short(Level& lv, const std::string& word);
  Stop parse_positional(Level& lv, const std::string& word);
  Stop occur(Level& lv, const ArgDef& a);
  Stop store_value(Level& lv, const ArgDef& a, const std::string& raw);
  Stop validate(const Level& lv);
  CliExit help_subcommand(const CommandDef& cmd, const std::string& bin, size_t i);

  CliExit help(const CommandDef& cmd, std::string_view bin) const { return {render_help(cmd, bin, out_), "", 0}; }
  CliExit version(const CommandDef& cmd) const {
    return {std::string(cmd.name) + " " + std::string(cmd.version) + "\n", "", 0};
  }
  CliExit error(const Level& lv, const std::string& message, const std::vector<std::string>& tips,
                bool with_usage) const {
    return error_at(lv.cmd, lv.bin, message, tips, with_usage);
  }
  CliExit error_at(const CommandDef& cmd, std::string_view bin, const std::string& message,
                   const std::vector<std::string>& tips, bool with_usage) const;
  std::string possible_values_line(const ArgDef& a) const;
  CliExit value_required(const Level& lv, const ArgDef& a) const {
    return error(lv, "a value is required for '" + err_.invalid(arg_display(a)) + "' but none was supplied" +
                         possible_values_line(a), {}, false);
  }
  CliExit unknown_argument(const Level& lv, std::string_view name, std::string_view word,
                           std::optional<std::string_view> similar) const;

  const std::vector<std::string>& words_;
  Styler out_;
  Styler err_;
  size_t occurrences_ = 0;
};

CliExit Parser::error_at(const CommandDef& cmd, std::string_view bin, const std::string& message,
                         const std::vector<std::string>& tips, bool with_usage) const {
  std::string text = err_.error("error:") + " " + message;
  if (!tips.empty()) text += "\n";
  for (const std::string& tip : tips) text += "\n  " + err_.valid("tip:") + " " + tip;
  if (with_usage) text += "\n\n" + usage(cmd, bin, err_);
  text += "\n\nFor more information, try '" + err_.literal("--help") + "'.\n";
  return {"", text, 2};
}

std::string Parser::possible_values_line(const ArgDef& a) const {
  if (a.possible_values.empty()) return "";
  std::string out = "\n  [possible values: ";
  for (size_t i = 0; i < a.possible_values.size(); ++i) {
    if (i) out += ", ";
    out += err_.valid(a.possible_values[i]);
  }
  return out + "]";
}

// `name` is what is reported ("--selct", "-x"); `word` the whole word, for the "--" tip.
CliExit Parser::unknown_argument(const Level& lv, std::string_view name, std::string_view word,
                                 std::optional<std::string_view> similar) const {
  std::vector<std::string> tips;
  if (similar) {
    tips.push_back("a similar argument exists: '" + err_.valid("--" + std::string(*similar)) + "'");
  } else if (!lv.trailing && lv.room()) {
    tips.push_back("to pass '" + err_.invalid(shown(word)) + "' as a value, use '" + err_.valid("-- " + shown(word)) +
                   "'");
  }
  return error(lv, "unexpected argument '" + err_.invalid(shown(name)) + "' found", tips, true);
}

Stop Parser::occur(Level& lv, const ArgDef& a) {
  ArgMatch& am = lv.m.args[static_cast<size_t>(&a - lv.cmd.args.data())];
  if (am.present && !a.repeatable) {
    return error(lv, "the argument '" + err_.invalid(arg_display(a)) + "' cannot be used multiple times", {}, true);
  }
  if (!am.present) am.first_seen = ++occurrences_;
  am.present = true;
  return std::nullopt;
}

Stop Parser::store_value(Level& lv, const ArgDef& a, const std::string& raw) {
  if (!a.possible_values.empty()) {
    if (std::find(a.possible_values.begin(), a.possible_values.end(), raw) == a.possible_values.end()) {
      if (raw.empty()) return value_required(lv, a);
      std::vector<std::string> tips;
      const std::vector<std::string_view> candidates(a.possible_values.begin(), a.possible_values.end());
      if (auto similar = did_you_mean(utf8_lossy(raw), candidates)) {
        tips.push_back("a similar value exists: '" + err_.valid(*similar) + "'");
      }
      return error(lv, "invalid value '" + err_.invalid(shown(raw)) + "' for '" + err_.literal(arg_display(a)) + "'" +
                           possible_values_line(a), tips, false);
    }
  } else if (!a.raw_bytes && !is_valid_utf8(raw)) {
    return error(lv, "invalid UTF-8 was detected in one or more arguments", {}, true);
  }
  std::vector<std::string>& values = lv.m.args[static_cast<size_t>(&a - lv.cmd.args.data())].values;
  if (!a.split_commas) {
    values.push_back(raw);
    return std::nullopt;
  }
  size_t start = 0;
  for (;;) {
    const size_t comma = raw.find(',', start);
    values.push_back(raw.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return std::nullopt;
}

// A word that begins with "-" (other than "-" alone) is never taken as an
// option's separate value: it is the next option, so the value is missing.
bool looks_like_option(const std::string& word) { return word.size() > 1 && word[0] == '-'; }

// The argument a "--name" or "--name=value" word names, or the error it
// causes: an unknown name, or a value attached to a flag.
Parser::LongLookup Parser::look_up_long(const Level& lv, std::string_view word) const {
  const size_t eq = word.find('=');
  const std::string_view name = word.substr(2, eq == std::string_view::npos ? std::string_view::npos : eq - 2);
  const ArgDef* found = nullptr;
  std::vector<std::string_view> longs;
  for (const ArgDef* a : all_args(lv.cmd)) {
    if (a->long_name.empty()) continue;
    longs.push_back(a->long_name);
    if (a->long_name == name) found = a;
  }
  if (!found) return {nullptr, unknown_argument(lv, word.substr(0, eq), word, did_you_mean(utf8_lossy(name), longs))};
  if (found->kind != ArgKind::Option && eq != std::string_view::npos) {
    return {nullptr, error(lv, "unexpected value '" + err_.invalid(shown(word.substr(eq + 1))) + "' for '" +
                                   err_.literal(arg_display(*found)) + "' found; no more were expected",
                           {}, true)};
  }
  return {found, std::nullopt};
}

Stop Parser::parse_long(Level& lv, size_t& i) {
  const std::string_view word = words_[i];
  const size_t eq = word.find('=');
  std::optional<std::string> attached;
  if (eq != std::string_view::npos) attached = std::string(word.substr(eq + 1));

  const LongLookup looked = look_up_long(lv, word);
  if (looked.stop) return looked.stop;
  const ArgDef* found = looked.arg;
  switch (found->kind) {
    case ArgKind::Help: return help(lv.cmd, lv.bin);
    case ArgKind::Version: return version(lv.cmd);
    case ArgKind::Flag: return occur(lv, *found);
    case ArgKind::Positional: return std::nullopt;  // positionals have no long name
    case ArgKind::Option: break;
  }
  if (!attached) {
    if (i + 1 >= words_.size()) return value_required(lv, *found);
    if (looks_like_option(words_[i + 1])) return missing_value(lv, *found, words_[i + 1]);
    attached = words_[++i];
  }
  if (Stop stop = occur(lv, *found)) return stop;
  return store_value(lv, *found, *attached);
}

// The option waits for its value but the next word is an option. That word
// is looked at first: one that names no argument is reported as unknown; a
// flag given a value is refused as such; anything else leaves the value
// missing.
Stop Parser::missing_value(Level& lv, const ArgDef& pending, const std::string& next) {
  if (next.starts_with("--") && next != "--") {
    if (Stop stop = look_up_long(lv, next).stop) return stop;
  } else if (next != "--") {
    const std::string cluster = utf8_lossy(std::string_view(next).substr(1));
    size_t pos = 0;
    const char32_t c = decode_utf8(cluster, pos);
    const auto named = [c](const ArgDef* a) { return a->short_name && static_cast<char32_t>(a->short_name) == c; };
    const auto args = all_args(lv.cmd);
    if (std::none_of(args.begin(), args.end(), named)) {
      return unknown_argument(lv, "-" + cluster.substr(0, pos), next, std::nullopt);
    }
  }
  return value_required(lv, pending);
}

Stop Parser::parse_short(Level& lv, const std::string& word) {
  const std::string cluster = utf8_lossy(std::string_view(word).substr(1));
  size_t pos = 0;
  while (pos < cluster.size()) {
    const size_t start = pos;
    const char32_t c = decode_utf8(cluster, pos);
    const ArgDef* found = nullptr;
    for (const ArgDef* a : all_args(lv.cmd)) {
      if (a->short_name && static_cast<char32_t>(a->short_name) == c) found = a;
    }
    if (!found) return unknown_argument(lv, "-" + cluster.substr(start, pos - start), word, std::nullopt);
    switch (found->kind) {
      case ArgKind::Help: return help(lv.cmd, lv.bin);
      case ArgKind::Version: return version(lv.cmd);
      case ArgKind::Flag:
        if (Stop stop = occur(lv, *found)) return stop;
        break;
      case ArgKind::Option:
      case ArgKind::Positional: break;  // only the built-in flags have short names
    }
  }
  return std::nullopt;
}

Stop Parser::parse_positional(Level& lv, const std::string& word) {
  if (!lv.room()) return error(lv, "unexpected argument '" + err_.invalid(shown(word)) + "' found", {}, true);
  const ArgDef& a = lv.cmd.args[lv.positionals[lv.slot]];
  if (Stop stop = occur(lv, a)) return stop;
  if (Stop stop = store_value(lv, a, word)) return stop;
  if (!a.repeatable) ++lv.slot;
  return std::nullopt;
}

Stop Parser::validate(const Level& lv) {
  std::vector<std::string> missing;
  for (size_t i = 0; i < lv.cmd.args.size(); ++i) {
    if (lv.cmd.args[i].required && !lv.m.args[i].present) missing.push_back(arg_display(lv.cmd.args[i]));
  }
  if (!missing.empty()) {
    std::string message = "the following required arguments were not provided:";
    for (const std::string& name : missing) message += "\n  " + err_.valid(name);
    return error(lv, message, {}, true);
  }
  for (size_t i = 0; i < lv.cmd.args.size(); ++i) {
    const ArgDef& a = lv.cmd.args[i];
    if (a.conflicts_with.empty() || !lv.m.args[i].present) continue;
    for (size_t j = 0; j < lv.cmd.args.size(); ++j) {
      if (lv.cmd.args[j].id != a.conflicts_with || !lv.m.args[j].present) continue;
      const bool a_first = lv.m.args[i].first_seen < lv.m.args[j].first_seen;
      const ArgDef& former = a_first ? a : lv.cmd.args[j];
      const ArgDef& latter = a_first ? lv.cmd.args[j] : a;
      return error(lv, "the argument '" + err_.invalid(arg_display(former)) + "' cannot be used with '" +
                           err_.invalid(arg_display(latter)) + "'",
                   {}, true);
    }
  }
  return std::nullopt;
}

// `help [COMMAND]...`: the help of the named (sub)command.
CliExit Parser::help_subcommand(const CommandDef& cmd, const std::string& bin, size_t i) {
  const CommandDef* current = &cmd;
  std::string current_bin = bin;
  for (; i < words_.size(); ++i) {
    const std::string& word = words_[i];
    const CommandDef* next = nullptr;
    std::vector<std::string_view> names;
    for (const CommandDef* sc : all_subcommands(*current)) {
      names.push_back(sc->name);
      if (sc->name == word) next = sc;
    }
    if (!next) {
      std::vector<std::string> tips;
      if (auto similar = did_you_mean(utf8_lossy(word), names)) {
        tips.push_back("a similar subcommand exists: '" + err_.valid(*similar) + "'");
      }
      return error_at(*current, current_bin, "unrecognized subcommand '" + err_.invalid(shown(word)) + "'", tips,
                      true);
    }
    current = next;
    current_bin += " " + std::string(next->name);
  }
  return help(*current, current_bin);
}

Stop Parser::parse_level(const CommandDef& cmd, const std::string& bin, size_t i, LevelMatches& m) {
  m.cmd = &cmd;
  m.args.assign(cmd.args.size(), ArgMatch{});
  Level lv{cmd, bin, m, {}, 0, false};
  for (size_t k = 0; k < cmd.args.size(); ++k) {
    if (cmd.args[k].kind == ArgKind::Positional) lv.positionals.push_back(k);
  }
  bool positional_seen = false;
  for (; i < words_.size(); ++i) {
    const std::string& word = words_[i];
    Stop stop;
    if (!lv.trailing && word == "--") {
      lv.trailing = true;
    } else if (!lv.trailing && word.starts_with("--")) {
      stop = parse_long(lv, i);
    } else if (!lv.trailing && looks_like_option(word)) {
      stop = parse_short(lv, word);
    } else {
      // Only the first positional word can name a subcommand; after a path,
      // `rule` and `help` are ordinary paths.
      if (!lv.trailing && !positional_seen) {
        if (!cmd.subcommands.empty() && word == kHelpCommand.name) return help_subcommand(cmd, bin, i + 1);
        for (const CommandDef& sc : cmd.subcommands) {
          if (sc.name != word) continue;
          m.sub = &sc;
          m.sub_matches = std::make_unique<LevelMatches>();
          if (Stop sub_stop = parse_level(sc, bin + " " + std::string(sc.name), i + 1, *m.sub_matches)) {
            return sub_stop;
          }
          return validate(lv);
        }
      }
      positional_seen = true;
      stop = parse_positional(lv, word);
    }
    if (stop) return stop;
  }
  return validate(lv);
}

std::vector<std::string> values_or_default(const ArgMatch& am, const ArgDef& a) {
  if (am.present) return am.values;
  if (a.default_value.empty()) return {};
  return {std::string(a.default_value)};
}

Cli build_cli(const LevelMatches& m) {
  Cli cli;
  if (m.sub) cli.command = Commands{Commands::Rule{m.sub_matches->get("rule_id").values.at(0)}};
  const auto values = [&](std::string_view id) {
    for (size_t i = 0; i < m.cmd->args.size(); ++i) {
      if (m.cmd->args[i].id == id) return values_or_default(m.args[i], m.cmd->args[i]);
    }
    return std::vector<std::string>{};
  };
  const auto optional_text = [&](std::string_view id) -> std::optional<std::string> {
    const ArgMatch& am = m.get(id);
    if (!am.present) return std::nullopt;
    return am.values.at(0);
  };
  const auto optional_list = [&](std::string_view id) -> std::optional<std::vector<std::string>> {
    const ArgMatch& am = m.get(id);
    if (!am.present) return std::nullopt;
    return am.values;
  };
  cli.paths = values("paths");
  cli.diff = optional_text("diff");
  cli.diff_staged = optional_text("diff_staged");
  cli.output_format = output_format_value_parser(values("output_format").at(0)).value_or(OutputFormat::Default);
  cli.select = optional_list("select");
  cli.ignore = optional_list("ignore");
  cli.warnings_as_errors = m.get("warnings_as_errors").present;
  cli.list_rules = m.get("list_rules").present;
  return cli;
}

// Like the report colour, but per stream, and a dumb terminal gets no escapes.
bool stream_styled(int fd) {
  if (std::optional<bool> forced = color_from_environment()) return *forced;
  if (const char* term = std::getenv("TERM"); term && std::strcmp(term, "dumb") == 0) return false;
  return isatty(fd) == 1;
}

}  // namespace

std::span<const std::string_view> output_format_possible_values() { return kOutputFormats; }

std::optional<OutputFormat> output_format_value_parser(std::string_view value) {
  for (size_t i = 0; i < kOutputFormats.size(); ++i) {
    if (kOutputFormats[i] == value) return static_cast<OutputFormat>(i);
  }
  return std::nullopt;
}

const CommandDef& cli_command() { return kTarn; }

CliStyling detect_cli_styling() { return {stream_styled(STDOUT_FILENO), stream_styled(STDERR_FILENO)}; }

CliOutcome parse_command_line(const std::vector<std::string>& args, CliStyling styling) {
  Parser parser(args, styling);
  LevelMatches matches;
  if (Stop stop = parser.parse_level(kTarn, std::string(kTarn.name), 0, matches)) return std::move(*stop);
  return build_cli(matches);
}

double jaro_similarity(std::string_view a_text, std::string_view b_text) {
  const std::u32string a = code_points(a_text);
  const std::u32string b = code_points(b_text);
  if (a.empty() && b.empty()) return 1.0;
  if (a.empty() || b.empty()) return 0.0;
  const size_t half = std::max(a.size(), b.size()) / 2;
  const size_t range = half > 0 ? half - 1 : 0;
  std::vector<bool> a_matched(a.size()), b_matched(b.size());
  size_t matches = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    const size_t lo = i > range ? i - range : 0;
    const size_t hi = std::min(b.size(), i + range + 1);
    for (size_t j = lo; j < hi; ++j) {
      if (!b_matched[j] && a[i] == b[j]) {
        a_matched[i] = b_matched[j] = true;
        ++matches;
        break;
      }
    }
  }
  if (matches == 0) return 0.0;
  size_t transpositions = 0;
  size_t j = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    if (!a_matched[i]) continue;
    while (!b_matched[j]) ++j;
    if (a[i] != b[j]) ++transpositions;
    ++j;
  }
  transpositions /= 2;
  const double m = static_cast<double>(matches);
  return (m / static_cast<double>(a.size()) + m / static_cast<double>(b.size()) +
          (m - static_cast<double>(transpositions)) / m) /
         3.0;
}

}  // namespace tarn
