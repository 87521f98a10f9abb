#include "git/contents.h"

#include "util/canonical.h"
#include "util/migration_layout.h"
#include "util/path.h"
#include "util/utf8.h"

namespace tarn {

namespace {

bool is_regular_mode(uint32_t mode) { return (mode & 0170000) == 0100000; }

std::string quoted(std::string_view text) {
  std::string out = "'";
  out += text;
  out += "'";
  return out;
}

std::string utf8_error_text(std::string_view bytes) {
  const size_t at = first_invalid_utf8(bytes);
  const size_t len = utf8_error_length(bytes, at);
  if (len == 0) return "incomplete utf-8 byte sequence from index " + std::to_string(at);
  return "invalid utf-8 sequence of " + std::to_string(len) + " bytes from index " + std::to_string(at);
}

}  // namespace

Result<std::string> repo_relative_path(git_repository* repo, std::string_view path) {
  if (!path_is_absolute(path)) {
    if (!is_safe_repo_path(path)) return Error::git(unsafe_path_message(path));
    return std::string(path);
  }
  TRY_ASSIGN(const std::string workdir, repository_workdir(repo));
  std::optional<std::string> rel = path_strip_prefix(path, workdir);
  if (!rel) {
    const auto canonical_workdir = canonicalize(workdir);
    if (!canonical_workdir) return Error::read_file(workdir);
    int err = 0;
    const auto canonical_path = canonicalize(path, &err);
    const std::string where = "File " + quoted(path) + " is not inside repository " + quoted(workdir);
    if (!canonical_path) return Error::git(where + ": " + os_error_text(err));
    rel = path_strip_prefix(*canonical_path, *canonical_workdir);
    if (!rel) return Error::git(where);
  }
  if (!is_safe_repo_path(*rel)) return Error::git(unsafe_path_message(*rel));
  return std::move(*rel);
}

Result<std::string> read_blob_text(git_repository* repo, const git_oid& id, std::string_view path, std::string_view rel,
                                   std::string_view label) {
  const std::string label_text(label);
  git_odb* raw_odb = nullptr;
  int rc = git_repository_odb(&raw_odb, repo);
  GitOdb odb(raw_odb);
  if (rc != 0) return Error::git(git_failure("Failed to open git object database: ", rc));

  size_t size = 0;
  git_object_t type = GIT_OBJECT_INVALID;
  rc = git_odb_read_header(&size, &type, odb.get(), &id);
  if (rc != 0) return Error::git(git_failure("Failed to read " + label_text + " file header: ", rc));
  if (type != GIT_OBJECT_BLOB) {
    char hex[GIT_OID_HEXSZ + 1];
    git_oid_tostr(hex, sizeof hex, &id);
    return Error::git("Refusing to read non-blob " + label_text + " object " + quoted(hex) + " for " + quoted(rel));
  }
  if (size > kMaxMigrationBytes) return Error::file_too_large(std::string(path), size, kMaxMigrationBytes);

  git_blob* raw_blob = nullptr;
  rc = git_blob_lookup(&raw_blob, repo, &id);
  GitBlob blob(raw_blob);
  if (rc != 0) return Error::git(git_failure("Failed to read " + label_text + " file: ", rc));
  const std::string_view bytes(static_cast<const char*>(git_blob_rawcontent(blob.get())),
                               static_cast<size_t>(git_blob_rawsize(blob.get())));
  if (!is_valid_utf8(bytes)) {
    return Error::git(label_text + " file " + quoted(rel) + " is not valid UTF-8: " + utf8_error_text(bytes));
  }
  return std::string(bytes);
}

Result<std::string> read_head_file(git_repository* repo, const ChangeSide& head, std::string_view path) {
  TRY_ASSIGN(const std::string rel, repo_relative_path(repo, path));
  SideEntry found{};
  if (const auto known = head.head_entries.find(rel); known != head.head_entries.end()) {
    found = known->second;
  } else {
    git_tree_entry* raw_entry = nullptr;
    const int rc = git_tree_entry_bypath(&raw_entry, head.tree.get(), rel.c_str());
    const GitTreeEntry entry(raw_entry);
    if (rc != 0) return Error::git(git_failure("File " + quoted(rel) + " is not present in HEAD: ", rc));
    found = SideEntry{*git_tree_entry_id(entry.get()), git_tree_entry_filemode(entry.get())};
  }
  // Only a regular mode makes a blob entry; links and submodules have their own.
  if (!is_regular_mode(found.mode)) return Error::git("Refusing to read non-regular file " + quoted(rel) + " from HEAD");
  return read_blob_text(repo, found.id, path, rel, "HEAD");
}

Result<std::string> read_staged_file(git_repository* repo, git_index* index, std::string_view path) {
  TRY_ASSIGN(const std::string rel, repo_relative_path(repo, path));
  const git_index_entry* entry = git_index_get_bypath(index, rel.c_str(), 0);
  if (entry == nullptr) return Error::git("File " + quoted(rel) + " is not present in the git index");
  if (!is_regular_mode(entry->mode)) {
    return Error::git("Refusing to read non-regular staged file " + quoted(rel) + " from git index");
  }
  return read_blob_text(repo, entry->id, path, rel, "staged");
}

}  // namespace tarn
