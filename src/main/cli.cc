#include "main/cli.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <span>

#include "main/color.h"
#include "main/sanitize.h"
#include "util/split.h"
#include "util/utf8.h"

namespace tarn {

namespace {

constexpr std::string_view kVersion = "0.7.0";

// In the order of the OutputFormat codes.
constexpr std::array<std::string_view, 3> kOutputFormats = {"default", "json", "compact"};

// The long options, in the order of the help listing; -h and -V are the only
// short forms.
enum class Opt : uint8_t { Diff, DiffStaged, OutputFormat, Select, Ignore, WarningsAsErrors, ListRules, Help, Version };

struct OptionDef {
  std::string_view name;        // without the leading "--"
  std::string_view value_name;  // empty for a flag
  std::string_view help;
  bool repeatable = false;
};

constexpr std::array<OptionDef, 9> kOptions = {{
    {"diff", "REF", "Compare against a git reference (branch, tag, or commit)"},
    {"diff-staged", "REF", "Compare staged changes against a git reference (for pre-commit hooks)"},
    {"output-format", "OUTPUT_FORMAT", "Output format"},
    {"select", "SELECT", "Select specific rules to run (comma-separated)", true},
    {"ignore", "IGNORE", "Ignore specific rules (comma-separated)", true},
    {"warnings-as-errors", "", "Treat warnings as errors"},
    {"list-rules", "", "List every rule the binary recognises and exit"},
    {"help", "", "Print help"},
    {"version", "", "Print version"},
}};

const OptionDef& def(Opt o) { return kOptions[static_cast<size_t>(o)]; }

// The three commands that have a help screen and a usage line.
struct Command {
  std::string_view name;
  std::string_view bin;
  std::string_view about;
  std::string_view usage;       // what follows the bin in the usage line
  std::string_view positional;  // its one positional argument, as listed
  std::string_view positional_help;
  std::span<const Opt> options;  // the long options it accepts
};

constexpr std::array<Opt, 9> kTopOptions = {Opt::Diff,      Opt::DiffStaged, Opt::OutputFormat,
                                            Opt::Select,    Opt::Ignore,     Opt::WarningsAsErrors,
                                            Opt::ListRules, Opt::Help,       Opt::Version};
constexpr std::array<Opt, 1> kRuleOptions = {Opt::Help};

constexpr Command kTarn{
    .name = "tarn",
    .bin = "tarn",
    .about = "A PostgreSQL migration safety linter for Django, Alembic, and Aerich",
    .usage = " [OPTIONS] [PATHS]... [COMMAND]",
    .positional = "[PATHS]...",
    .positional_help = "Paths to lint (files or directories) [default: .]",
    .options = kTopOptions,
};
constexpr Command kRule{
    .name = "rule",
    .bin = "tarn rule",
    .about = "Show documentation for a specific rule",
    .usage = " <RULE_ID>",
    .positional = "<RULE_ID>",
    .positional_help = "The rule ID (e.g., R001)",
    .options = kRuleOptions,
};
// Implied by the existence of a subcommand.
constexpr Command kHelp{
    .name = "help",
    .bin = "tarn help",
    .about = "Print this message or the help of the given subcommand(s)",
    .usage = " [COMMAND]...",
    .positional = "[COMMAND]...",
    .positional_help = "Print help for the subcommand(s)",
    .options = {},
};
constexpr std::array<const Command*, 2> kSubcommands = {&kRule, &kHelp};

// Help output is laid out for this width; wider help texts go below their argument.
constexpr size_t kHelpWidth = 100;
constexpr size_t kShortColumn = 4;  // "-h, "
constexpr size_t kNextLineIndent = 10;

size_t display_width(std::string_view text) { return utf8_code_points(text).size(); }

// The most similar candidate above the threshold; the later one wins a tie.
std::optional<std::string_view> did_you_mean(std::string_view input, std::span<const std::string_view> candidates) {
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

// The styles of one stream.
struct Styles {
  bool on = false;
  std::string header(std::string_view t) const { return style(t, Color::None, true, on, true); }
  std::string literal(std::string_view t) const { return style(t, Color::None, true, on); }
  std::string error(std::string_view t) const { return style(t, Color::Red, true, on); }
  std::string valid(std::string_view t) const { return style(t, Color::Green, false, on); }
  std::string invalid(std::string_view t) const { return style(t, Color::Yellow, false, on); }
};

// User text echoed in a message: lossy UTF-8, control characters escaped.
std::string shown(std::string_view raw) { return sanitize_for_terminal(raw, true); }

// How an option is named in messages: "--diff <REF>", "--list-rules".
std::string display(Opt o) {
  std::string out = "--" + std::string(def(o).name);
  if (!def(o).value_name.empty()) out += " <" + std::string(def(o).value_name) + ">";
  return out;
}

std::string format_names(const Styles& s) {
  std::string out;
  for (std::string_view name : kOutputFormats) {
    if (!out.empty()) out += ", ";
    out += s.valid(name);
  }
  return out;
}

std::string usage(const Command& cmd, const Styles& s) {
  return s.header("Usage:") + " " + s.literal(cmd.bin) + std::string(cmd.usage);
}

// ---- Help screens ----------------------------------------------------------

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

HelpRow option_row(Opt o, const Styles& s) {
  const std::string text = display(o);
  const size_t name_end = 2 + def(o).name.size();
  std::string styled = std::string(kShortColumn, ' ');
  if (o == Opt::Help || o == Opt::Version) styled = s.literal(o == Opt::Help ? "-h" : "-V") + ", ";
  styled += s.literal(text.substr(0, name_end)) + text.substr(name_end);
  std::string help(def(o).help);
  if (o == Opt::OutputFormat) help += " [default: default] [possible values: " + format_names(Styles{}) + "]";
  return {styled, kShortColumn + display_width(text), help};
}

std::string render_help(const Command& cmd, const Styles& s) {
  std::string out = std::string(cmd.about) + "\n\n" + usage(cmd, s) + "\n";
  const auto section = [&](std::string_view title, const std::vector<HelpRow>& rows, size_t extra_taken) {
    if (rows.empty()) return;
    out += "\n" + s.header(title) + "\n" + render_rows(rows, extra_taken);
  };
  std::vector<HelpRow> commands, options;
  if (&cmd == &kTarn) {
    for (const Command* sub : kSubcommands) {
      commands.push_back({s.literal(sub->name), display_width(sub->name), std::string(sub->about)});
    }
  }
  for (Opt o : cmd.options) options.push_back(option_row(o, s));
  section("Commands:", commands, 0);
  const HelpRow positional{std::string(cmd.positional), display_width(cmd.positional), std::string(cmd.positional_help)};
  section("Arguments:", {positional}, 0);
  section("Options:", options, kShortColumn);
  return out;
}

// ---- Parsing ---------------------------------------------------------------

using Stop = std::optional<CliExit>;

constexpr const char* kNotUtf8 = "invalid UTF-8 was detected in one or more arguments";

// A word that begins with "-" (other than "-" alone) is never taken as an
// option's separate value: it is the next option, so the value is missing.
bool looks_like_option(const std::string& word) { return word.size() > 1 && word[0] == '-'; }

class Parser {
 public:
  Parser(const std::vector<std::string>& words, CliStyling styling)
      : words_(words), out_{styling.stdout_styled}, err_{styling.stderr_styled} {}

  CliOutcome parse();

 private:
  struct LongLookup {
    std::optional<Opt> opt;
    std::optional<std::string_view> attached;  // the value after "=", when there is one
    Stop stop;
  };
  // `room`: the command still takes a positional, so "--" can pass the word as one.
  LongLookup look_up_long(const Command& cmd, std::string_view word, bool room) const;
  Stop parse_long(size_t& i);
  Stop parse_short(const Command& cmd, const std::string& word, bool room) const;
  Stop missing_value(Opt pending, const std::string& next) const;
  Stop occur(Opt o);
  Stop store(Opt o, const std::string& raw);
  Stop parse_rule(size_t i);
  CliExit help_subcommand(size_t i) const;
  Stop conflicts() const;

  CliExit help(const Command& cmd) const { return {render_help(cmd, out_), "", 0}; }
  CliExit version() const { return {"tarn " + std::string(kVersion) + "\n", "", 0}; }
  CliExit error(const Command& cmd, const std::string& message, const std::vector<std::string>& tips,
                bool with_usage) const;
  CliExit unknown_argument(const Command& cmd, std::string_view name, std::string_view word,
                           std::optional<std::string_view> similar, bool room) const;
  CliExit value_required(Opt o) const;

  const std::vector<std::string>& words_;
  Styles out_;
  Styles err_;
  Cli cli_;
  std::array<bool, kOptions.size()> seen_{};
  std::optional<Opt> first_diff_;  // whichever of --diff and --diff-staged came first
};

CliExit Parser::error(const Command& cmd, const std::string& message, const std::vector<std::string>& tips,
                      bool with_usage) const {
  std::string text = err_.error("error:") + " " + message;
  if (!tips.empty()) text += "\n";
  for (const std::string& tip : tips) text += "\n  " + err_.valid("tip:") + " " + tip;
  if (with_usage) text += "\n\n" + usage(cmd, err_);
  text += "\n\nFor more information, try '" + err_.literal("--help") + "'.\n";
  return {"", text, 2};
}

// `name` is what is reported ("--selct", "-x"); `word` the whole word, for the "--" tip.
CliExit Parser::unknown_argument(const Command& cmd, std::string_view name, std::string_view word,
                                 std::optional<std::string_view> similar, bool room) const {
  std::vector<std::string> tips;
  if (similar) {
    tips.push_back("a similar argument exists: '" + err_.valid("--" + std::string(*similar)) + "'");
  } else if (room) {
    tips.push_back("to pass '" + err_.invalid(shown(word)) + "' as a value, use '" + err_.valid("-- " + shown(word)) +
                   "'");
  }
  return error(cmd, "unexpected argument '" + err_.invalid(shown(name)) + "' found", tips, true);
}

CliExit Parser::value_required(Opt o) const {
  std::string message = "a value is required for '" + err_.invalid(display(o)) + "' but none was supplied";
  if (o == Opt::OutputFormat) message += "\n  [possible values: " + format_names(err_) + "]";
  return error(kTarn, message, {}, false);
}

// The option a "--name" or "--name=value" word names, or the error it
// causes: an unknown name, or a value attached to a flag.
Parser::LongLookup Parser::look_up_long(const Command& cmd, std::string_view word, bool room) const {
  const size_t eq = word.find('=');
  const std::string_view name = word.substr(2, eq == std::string_view::npos ? std::string_view::npos : eq - 2);
  std::optional<Opt> found;
  std::vector<std::string_view> names;
  for (Opt o : cmd.options) {
    names.push_back(def(o).name);
    if (def(o).name == name) found = o;
  }
  if (!found) {
    return {std::nullopt, std::nullopt,
            unknown_argument(cmd, word.substr(0, eq), word, did_you_mean(utf8_lossy(name), names), room)};
  }
  if (eq == std::string_view::npos) return {found, std::nullopt, std::nullopt};
  const std::string_view attached = word.substr(eq + 1);
  if (def(*found).value_name.empty()) {
    return {std::nullopt, std::nullopt,
            error(cmd, "unexpected value '" + err_.invalid(shown(attached)) + "' for '" + err_.literal(display(*found)) +
                           "' found; no more were expected",
                  {}, true)};
  }
  return {found, attached, std::nullopt};
}

// "-" and the first character of a short-option word, as an unknown one is reported.
std::string first_short(const std::string& word) {
  const std::string rest = utf8_lossy(std::string_view(word).substr(1));
  size_t pos = 0;
  decode_utf8(rest, pos);
  return "-" + rest.substr(0, pos);
}

// -h and -V end the parse, so the first character of a cluster decides.
Stop Parser::parse_short(const Command& cmd, const std::string& word, bool room) const {
  if (word[1] == 'h') return help(cmd);
  if (word[1] == 'V' && &cmd == &kTarn) return version();
  return unknown_argument(cmd, first_short(word), word, std::nullopt, room);
}

// The option waits for its value but the next word is an option. That word
// is looked at first: one that names no argument is reported as unknown; a
// flag given a value is refused as such; anything else leaves the value
// missing.
Stop Parser::missing_value(Opt pending, const std::string& next) const {
  if (next.starts_with("--") && next != "--") {
    if (Stop stop = look_up_long(kTarn, next, true).stop) return stop;
  } else if (next != "--" && next[1] != 'h' && next[1] != 'V') {
    return unknown_argument(kTarn, first_short(next), next, std::nullopt, true);
  }
  return value_required(pending);
}

Stop Parser::occur(Opt o) {
  bool& seen = seen_[static_cast<size_t>(o)];
  if (seen && !def(o).repeatable) {
    return error(kTarn, "the argument '" + err_.invalid(display(o)) + "' cannot be used multiple times", {}, true);
  }
  seen = true;
  if ((o == Opt::Diff || o == Opt::DiffStaged) && !first_diff_) first_diff_ = o;
  return std::nullopt;
}

Stop Parser::store(Opt o, const std::string& raw) {
  if (o == Opt::OutputFormat) {
    const auto match = std::find(kOutputFormats.begin(), kOutputFormats.end(), raw);
    if (match != kOutputFormats.end()) {
      cli_.output_format = static_cast<OutputFormat>(match - kOutputFormats.begin());
      return std::nullopt;
    }
    if (raw.empty()) return value_required(o);
    std::vector<std::string> tips;
    if (auto similar = did_you_mean(utf8_lossy(raw), kOutputFormats)) {
      tips.push_back("a similar value exists: '" + err_.valid(*similar) + "'");
    }
    return error(kTarn, "invalid value '" + err_.invalid(shown(raw)) + "' for '" + err_.literal(display(o)) +
                            "'\n  [possible values: " + format_names(err_) + "]",
                 tips, false);
  }
  if (!is_valid_utf8(raw)) return error(kTarn, kNotUtf8, {}, true);
  if (o == Opt::Diff) cli_.diff = raw;
  if (o == Opt::DiffStaged) cli_.diff_staged = raw;
  if (o == Opt::Select || o == Opt::Ignore) {
    std::optional<std::vector<std::string>>& list = o == Opt::Select ? cli_.select : cli_.ignore;
    if (!list) list.emplace();
    for (std::string_view piece : split_at(raw, ',')) list->emplace_back(piece);
  }
  return std::nullopt;
}

Stop Parser::parse_long(size_t& i) {
  const LongLookup looked = look_up_long(kTarn, words_[i], true);
  if (looked.stop) return looked.stop;
  const Opt o = *looked.opt;
  if (o == Opt::Help) return help(kTarn);
  if (o == Opt::Version) return version();
  if (def(o).value_name.empty()) {
    if (Stop stop = occur(o)) return stop;
    (o == Opt::WarningsAsErrors ? cli_.warnings_as_errors : cli_.list_rules) = true;
    return std::nullopt;
  }

  std::string value;
  if (looked.attached) {
    value = *looked.attached;
  } else if (i + 1 >= words_.size()) {
    return value_required(o);
  } else if (looks_like_option(words_[i + 1])) {
    return missing_value(o, words_[i + 1]);
  } else {
    value = words_[++i];
  }
  if (Stop stop = occur(o)) return stop;
  return store(o, value);
}

// `rule RULE_ID`: only -h/--help besides the one id.
Stop Parser::parse_rule(size_t i) {
  std::optional<std::string> id;
  bool trailing = false;
  for (; i < words_.size(); ++i) {
    const std::string& word = words_[i];
    Stop stop;
    if (!trailing && word == "--") {
      trailing = true;
    } else if (!trailing && word.starts_with("--")) {
      stop = look_up_long(kRule, word, !id).stop;
      if (!stop) stop = help(kRule);
    } else if (!trailing && looks_like_option(word)) {
      stop = parse_short(kRule, word, !id);
    } else if (id) {
      stop = error(kRule, "unexpected argument '" + err_.invalid(shown(word)) + "' found", {}, true);
    } else if (!is_valid_utf8(word)) {
      stop = error(kRule, kNotUtf8, {}, true);
    } else {
      id = word;
    }
    if (stop) return stop;
  }
  if (!id) {
    return error(kRule, "the following required arguments were not provided:\n  " + err_.valid(kRule.positional), {},
                 true);
  }
  cli_.command = Commands{Commands::Rule{*id}};
  return std::nullopt;
}

// `help [COMMAND]...`: the help of the named command.
CliExit Parser::help_subcommand(size_t i) const {
  const Command* current = &kTarn;
  for (; i < words_.size(); ++i) {
    const std::string& word = words_[i];
    const Command* next = nullptr;
    std::vector<std::string_view> names;
    if (current == &kTarn) {
      for (const Command* sub : kSubcommands) {
        names.push_back(sub->name);
        if (sub->name == word) next = sub;
      }
    }
    if (!next) {
      std::vector<std::string> tips;
      if (auto similar = did_you_mean(utf8_lossy(word), names)) {
        tips.push_back("a similar subcommand exists: '" + err_.valid(*similar) + "'");
      }
      return error(*current, "unrecognized subcommand '" + err_.invalid(shown(word)) + "'", tips, true);
    }
    current = next;
  }
  return help(*current);
}

Stop Parser::conflicts() const {
  if (!cli_.diff || !cli_.diff_staged) return std::nullopt;
  const Opt former = *first_diff_;
  const Opt latter = former == Opt::Diff ? Opt::DiffStaged : Opt::Diff;
  return error(kTarn, "the argument '" + err_.invalid(display(former)) + "' cannot be used with '" +
                          err_.invalid(display(latter)) + "'",
               {}, true);
}

CliOutcome Parser::parse() {
  bool trailing = false;
  for (size_t i = 0; i < words_.size(); ++i) {
    const std::string& word = words_[i];
    Stop stop;
    if (!trailing && word == "--") {
      trailing = true;
    } else if (!trailing && word.starts_with("--")) {
      stop = parse_long(i);
    } else if (!trailing && looks_like_option(word)) {
      stop = parse_short(kTarn, word, true);
    } else if (!trailing && cli_.paths.empty() && word == kHelp.name) {
      // Only the first positional word can name a subcommand; after a path,
      // `rule` and `help` are ordinary paths.
      return help_subcommand(i + 1);
    } else if (!trailing && cli_.paths.empty() && word == kRule.name) {
      stop = parse_rule(i + 1);
      if (!stop) break;
    } else {
      cli_.paths.push_back(word);
    }
    if (stop) return std::move(*stop);
  }
  if (Stop stop = conflicts()) return std::move(*stop);
  if (cli_.paths.empty()) cli_.paths.emplace_back(".");
  return std::move(cli_);
}

}  // namespace

CliStyling detect_cli_styling() {
  const ColorEnvironment env = ColorEnvironment::current();
  const char* term = std::getenv("TERM");
  const bool dumb = term != nullptr && std::string_view(term) == "dumb";
  const auto styled = [&](int fd) { return color_decision(env, !dumb && isatty(fd) == 1); };
  return {styled(STDOUT_FILENO), styled(STDERR_FILENO)};
}

CliOutcome parse_command_line(const std::vector<std::string>& args, CliStyling styling) {
  return Parser(args, styling).parse();
}

double jaro_similarity(std::string_view a_text, std::string_view b_text) {
  const std::u32string a = utf8_code_points(a_text);
  const std::u32string b = utf8_code_points(b_text);
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
