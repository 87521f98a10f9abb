#include "main/rule_docs.h"

#include <algorithm>

#include "main/color.h"
#include "main/output.h"

namespace tarn {

namespace {

template <class AnyRule>
RuleInfo info_of(const AnyRule& rule) {
  return RuleInfo{std::string(rule.id()), std::string(rule.name()),
                  rule.is_error() ? Severity::Error : Severity::Warning, std::string(rule.description())};
}

std::string pad_right(std::string_view text, size_t width) {
  std::string out(text);
  if (out.size() < width) out.append(width - out.size(), ' ');
  return out;
}

}  // namespace

std::vector<RuleInfo> rule_infos() {
  std::vector<RuleInfo> infos;
  for (const auto& rule : all_rules()) infos.push_back(info_of(*rule));
  for (const auto& rule : changeset_rules()) infos.push_back(info_of(*rule));
  std::stable_sort(infos.begin(), infos.end(), [](const RuleInfo& a, const RuleInfo& b) { return a.id < b.id; });
  infos.erase(
      std::unique(infos.begin(), infos.end(), [](const RuleInfo& a, const RuleInfo& b) { return a.id == b.id; }),
      infos.end());
  return infos;
}

namespace {

// The table and page as printed; `color` is the colour decision to style with.
std::string render_rule_list(const std::vector<RuleInfo>& infos, bool color) {
  size_t id_width = 0;
  size_t severity_width = 0;
  for (const RuleInfo& info : infos) {
    id_width = std::max(id_width, info.id.size());
    severity_width = std::max(severity_width, severity_word(info.severity).size());
  }
  std::string out;
  for (const RuleInfo& info : infos) {
    out += style(pad_right(info.id, id_width), Color::Cyan, true, color) + "  ";
    out += pad_right(severity_word(info.severity), severity_width) + "  " + info.name + "\n";
  }
  return out;
}

std::string render_rule_page(const RuleInfo& info, bool color) {
  std::string out = style(info.id, Color::Cyan, true, color) + "\n";
  out += style("Name", Color::None, true, color) + ": " + info.name + "\n";
  out += style("Severity", Color::None, true, color) + ": " + std::string(severity_word(info.severity)) + "\n";
  out += "\n" + info.description + "\n";
  return out;
}

}  // namespace

Status print_rule_list() {
  write_stdout(render_rule_list(rule_infos(), color_enabled()));
  return ok_status();
}

void print_rule_page(const RuleInfo& info) { write_stdout(render_rule_page(info, color_enabled())); }

}  // namespace tarn
