// Lexical path handling: components, component-wise comparison and joining.
// Paths are byte strings; nothing here touches the file system.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarn {

// Ordered as they compare: a root sorts before ".", "..", then names.
enum class ComponentKind { Root, CurDir, ParentDir, Normal };

struct Component {
  ComponentKind kind;
  std::string_view text;  // "/" for the root, the bytes otherwise
  bool operator==(const Component& other) const { return kind == other.kind && text == other.text; }
};

// Repeated separators collapse, a trailing separator is ignored, "." is
// dropped except as the first component of a relative path.
std::vector<Component> path_components(std::string_view path);

// Component-wise three-way comparison (a/b < a-b; a/./b == a/b).
int compare_paths(std::string_view a, std::string_view b);
inline bool paths_equal(std::string_view a, std::string_view b) { return compare_paths(a, b) == 0; }
inline bool path_less(std::string_view a, std::string_view b) { return compare_paths(a, b) < 0; }
// The components joined by single separators: two paths have the same form
// exactly when paths_equal holds, so the form can key a hash table.
std::string path_lexical_form(std::string_view path);

// True when the components of `prefix` are a prefix of those of `path`.
bool path_starts_with(std::string_view path, std::string_view prefix);
// The part of `path` below `prefix` (joined with "/"), or nothing when
// `prefix` is not a component prefix. Empty when the two are equal.
std::optional<std::string> path_strip_prefix(std::string_view path, std::string_view prefix);

bool path_is_absolute(std::string_view path);

// Appends `rel` to `base` with one separator; an absolute `rel` replaces `base`.
std::string path_join(std::string_view base, std::string_view rel);

// Last component when it is a normal name.
std::optional<std::string_view> path_file_name(std::string_view path);
// The path without its last component; nothing for a root or empty path.
std::optional<std::string> path_parent(std::string_view path);
// Text after the last "." of a file name, unless that "." is its first character.
std::optional<std::string_view> file_name_extension(std::string_view file_name);
// The last component is a name whose extension is exactly "py".
bool has_py_extension(std::string_view path);
// File name without its extension.
std::string_view file_name_stem(std::string_view file_name);

}  // namespace tarn
