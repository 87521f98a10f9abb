#include "util/path.h"

#include <algorithm>

namespace tarn {

namespace {
// Yields the components of a path one at a time, so a comparison need not
// build a list (diagnostics are sorted with it).
class ComponentReader {
 public:
  explicit ComponentReader(std::string_view path) : path_(path) {
    if (!path_.empty() && path_[0] == '/') {
      root_pending_ = true;
      pos_ = 1;
      first_ = false;
    }
  }
  std::optional<Component> next() {
    if (root_pending_) {
      root_pending_ = false;
      return Component{ComponentKind::Root, "/"};
    }
    while (pos_ < path_.size()) {
      size_t end = path_.find('/', pos_);
      if (end == std::string_view::npos) end = path_.size();
      const std::string_view part = path_.substr(pos_, end - pos_);
      const bool first = first_;
      first_ = false;
      pos_ = end + 1;
      if (part.empty()) continue;
      if (part == ".") {
        if (first) return Component{ComponentKind::CurDir, "."};
        continue;
      }
      if (part == "..") return Component{ComponentKind::ParentDir, ".."};
      return Component{ComponentKind::Normal, part};
    }
    return std::nullopt;
  }

 private:
  std::string_view path_;
  size_t pos_ = 0;
  bool first_ = true;
  bool root_pending_ = false;
};
}  // namespace

std::vector<Component> path_components(std::string_view path) {
  std::vector<Component> out;
  ComponentReader reader(path);
  while (const auto c = reader.next()) out.push_back(*c);
  return out;
}

int compare_paths(std::string_view a, std::string_view b) {
  if (a == b) return 0;
  ComponentReader ra(a), rb(b);
  for (;;) {
    const auto ca = ra.next(), cb = rb.next();
    if (!ca || !cb) {
      if (!ca && !cb) return 0;
      return !ca ? -1 : 1;
    }
    if (ca->kind != cb->kind) return ca->kind < cb->kind ? -1 : 1;
    const int c = ca->text.compare(cb->text);
    if (c != 0) return c < 0 ? -1 : 1;
  }
}

std::string path_lexical_form(std::string_view path) {
  std::string out;
  out.reserve(path.size());
  ComponentReader reader(path);
  while (const auto c = reader.next()) {
    if (!out.empty() && out != "/") out += '/';
    out += c->text;
  }
  return out;
}

bool path_starts_with(std::string_view path, std::string_view prefix) {
  const auto cp = path_components(path), cx = path_components(prefix);
  if (cx.size() > cp.size()) return false;
  return std::equal(cx.begin(), cx.end(), cp.begin());
}

std::optional<std::string> path_strip_prefix(std::string_view path, std::string_view prefix) {
  const auto cp = path_components(path), cx = path_components(prefix);
  if (cx.size() > cp.size() || !std::equal(cx.begin(), cx.end(), cp.begin())) return std::nullopt;
  std::string rest;
  for (size_t k = cx.size(); k < cp.size(); ++k) {
    if (!rest.empty()) rest += '/';
    rest += cp[k].text;
  }
  return rest;
}

bool path_is_absolute(std::string_view path) { return !path.empty() && path[0] == '/'; }

std::string path_join(std::string_view base, std::string_view rel) {
  if (path_is_absolute(rel) || base.empty()) return std::string(rel);
  std::string out(base);
  if (out.back() != '/') out += '/';
  out += rel;
  return out;
}

std::optional<std::string_view> path_file_name(std::string_view path) {
  const auto comps = path_components(path);
  if (comps.empty() || comps.back().kind != ComponentKind::Normal) return std::nullopt;
  return comps.back().text;
}

std::optional<std::string> path_parent(std::string_view path) {
  auto comps = path_components(path);
  if (comps.empty() || comps.back().kind == ComponentKind::Root) return std::nullopt;
  comps.pop_back();
  std::string out;
  for (const auto& c : comps) {
    if (!out.empty() && out.back() != '/') out.push_back('/');
    out.append(c.text);
  }
  return out;
}

std::optional<std::string_view> file_name_extension(std::string_view name) {
  if (name == "..") return std::nullopt;
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return std::nullopt;
  return name.substr(dot + 1);
}

bool has_py_extension(std::string_view path) {
  const auto name = path_file_name(path);
  return name && file_name_extension(*name) == "py";
}

std::string_view file_name_stem(std::string_view name) {
  if (name == "..") return name;
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0) return name;
  return name.substr(0, dot);
}

}  // namespace tarn
