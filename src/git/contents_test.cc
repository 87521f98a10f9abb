#include "git/contents.h"

#include <git2/sys/odb_backend.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "git/repository.h"
#include "testing/temp_tree.h"

namespace tarn {
namespace {

using testing::CwdGuard;
using testing::TempRepo;

class ContentsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CwdGuard cwd(repo.dir());
    auto opened = open_repository();
    ASSERT_TRUE(opened.ok()) << opened.error().message();
    handle = std::move(*opened);
  }
  git_repository* r() { return handle.get(); }
  // The run holds HEAD's tree or the index once; each read here takes a fresh one.
  Result<std::string> head_file(std::string_view path) {
    ChangeSide side;
    auto tree = head_tree(r());
    if (!tree.ok()) return std::move(tree).error();
    side.tree = std::move(*tree);
    return read_head_file(r(), side, path);
  }
  Result<std::string> staged_file(std::string_view path) {
    auto index = open_staged_index(r());
    if (!index.ok()) return std::move(index).error();
    return read_staged_file(r(), index->get(), path);
  }

  TempRepo repo;
  GitRepo handle;
};

TEST_F(ContentsTest, OnlyRegularFilesPresentInTheSourceAreRead) {
  repo.write("run.py", "executable\n");
  std::filesystem::permissions(repo.at("run.py"), std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);
  std::filesystem::create_symlink("run.py", repo.at("link.py"));
  repo.git("add run.py link.py");
  // A gitlink entry, as a submodule leaves in the tree.
  repo.git("update-index --add --cacheinfo 160000,1111111111111111111111111111111111111111,sub");
  repo.git("commit -q -m modes");
  auto exec = head_file("run.py");
  ASSERT_TRUE(exec.ok()) << exec.error().message();
  EXPECT_EQ(*exec, "executable\n");

  for (const std::string rel : {"link.py", "sub"}) {
    auto head = head_file(rel);
    ASSERT_FALSE(head.ok()) << rel;
    EXPECT_EQ(head.error().message(), "Git error: Refusing to read non-regular file '" + rel + "' from HEAD");
    auto staged = staged_file(rel);
    ASSERT_FALSE(staged.ok()) << rel;
    EXPECT_EQ(staged.error().message(),
              "Git error: Refusing to read non-regular staged file '" + rel + "' from git index");
  }

  repo.write("new.py", "not committed\n");
  auto head = head_file(repo.at("new.py"));
  ASSERT_FALSE(head.ok());
  EXPECT_TRUE(head.error().message().starts_with("Git error: File 'new.py' is not present in HEAD: "))
      << head.error().message();
  EXPECT_TRUE(head.error().message().ends_with("; class=Tree (14); code=NotFound (-3)")) << head.error().message();
  // Added with intent to add, it is still not staged.
  for (const std::string add : {"", "add -N new.py"}) {
    if (!add.empty()) repo.git(add);
    auto staged = staged_file(repo.at("new.py"));
    ASSERT_FALSE(staged.ok()) << add;
    EXPECT_EQ(staged.error().message(), "Git error: File 'new.py' is not present in the git index") << add;
  }
}

// Sits before the object stores and finds nothing, so every object libgit2
// asks for passes on to them, and is counted by id.
struct CountingBackend {
  git_odb_backend parent;  // first, as libgit2 hands back a pointer to it
  std::map<std::string, int>* requests;

  static int count(git_odb_backend* backend, const git_oid* id) {
    char hex[GIT_OID_HEXSZ + 1];
    git_oid_tostr(hex, sizeof hex, id);
    ++(*reinterpret_cast<CountingBackend*>(backend)->requests)[hex];
    return GIT_ENOTFOUND;
  }
  static void install(git_repository* repo, std::map<std::string, int>* requests) {
    auto* backend = new CountingBackend{};
    ASSERT_EQ(git_odb_init_backend(&backend->parent, GIT_ODB_BACKEND_VERSION), 0);
    backend->requests = requests;
    backend->parent.read = [](void**, size_t*, git_object_t*, git_odb_backend* b, const git_oid* id) {
      return count(b, id);
    };
    backend->parent.read_header = [](size_t*, git_object_t*, git_odb_backend* b, const git_oid* id) {
      return count(b, id);
    };
    backend->parent.free = [](git_odb_backend* b) { delete reinterpret_cast<CountingBackend*>(b); };
    git_odb* raw = nullptr;
    ASSERT_EQ(git_repository_odb(&raw, repo), 0);
    const GitOdb odb(raw);
    ASSERT_EQ(git_odb_add_backend(odb.get(), &backend->parent, 1000), 0);  // the odb owns it now
  }
};

// A changed file costs its own blob, whatever the size of its folder: the
// folder's tree (far above what libgit2 caches) is not read again per file,
// so many changed files in one folder cost linear work.
TEST_F(ContentsTest, ChangedFilesAreReadWithoutTheirFolder) {
  repo.commit_file("README.md", "base\n");
  constexpr size_t kFiles = 200;
  for (size_t i = 0; i < kFiles; ++i) {
    repo.write("app/migrations/" + std::to_string(1000 + i) + "_step.py", "STEP = " + std::to_string(i) + "\n");
  }
  repo.commit_all("steps");
  auto set = changed_files(r(), "HEAD~1", false);
  ASSERT_TRUE(set.ok()) << set.error().message();
  ASSERT_EQ(set->changes.size(), kFiles);
  std::set<std::string> blobs;
  for (const auto& [path, entry] : set->side.head_entries) {
    char hex[GIT_OID_HEXSZ + 1];
    git_oid_tostr(hex, sizeof hex, &entry.id);
    blobs.insert(hex);
  }

  std::map<std::string, int> requests;
  CountingBackend::install(r(), &requests);
  for (const auto& change : set->changes) {
    auto text = read_head_file(r(), set->side, repo.at(change.path));
    ASSERT_TRUE(text.ok()) << text.error().message();
  }
  EXPECT_EQ(requests.size(), kFiles);
  for (const auto& [id, count] : requests) {
    EXPECT_TRUE(blobs.contains(id)) << id << " is not a changed file's blob";
    EXPECT_LE(count, 2) << id;  // its header, then its bytes
  }
}

TEST_F(ContentsTest, BlobAtTheSizeLimitIsRead) {
  repo.write("at_limit.py", std::string(10485760, 'a'));
  repo.git("add -A");
  auto at = staged_file("at_limit.py");
  ASSERT_TRUE(at.ok()) << at.error().message();
  EXPECT_EQ(at->size(), 10485760u);
}

TEST_F(ContentsTest, NonBlobObjectIsRefused) {
  repo.commit_file("dir/x.py", "x\n");
  auto tree = head_tree(r());
  ASSERT_TRUE(tree.ok());
  const git_tree_entry* dir = git_tree_entry_byname(tree->get(), "dir");
  ASSERT_NE(dir, nullptr);
  char hex[GIT_OID_HEXSZ + 1];
  git_oid_tostr(hex, sizeof hex, git_tree_entry_id(dir));
  auto text = read_blob_text(r(), *git_tree_entry_id(dir), "dir", "dir", "HEAD");
  ASSERT_FALSE(text.ok());
  EXPECT_EQ(text.error().message(), "Git error: Refusing to read non-blob HEAD object '" + std::string(hex) + "' for 'dir'");
}

TEST_F(ContentsTest, RepositoryRelativePaths) {
  const auto& tmp = repo.tmp();
  tmp.mkdir("real");
  tmp.symlink(repo.dir(), "link");
  const std::string wd = repo.workdir();
  // Canonical comparison needs the file to exist.
  repo.write("app/x.py", "");

  struct Case {
    std::string path;
    std::string expected;  // the relative path, or the error message
    bool ok;
  };
  const Case cases[] = {
      {repo.at("app/x.py"), "app/x.py", true},
      {tmp.path("link/app/x.py"), "app/x.py", true},
      {repo.at("a/../../x.py"), "Git error: Git diff returned unsafe repository path 'a/../../x.py'", false},
      {tmp.path("real"), "Git error: File '" + tmp.path("real") + "' is not inside repository '" + wd + "'", false},
      {tmp.path("gone.py"),
       "Git error: File '" + tmp.path("gone.py") + "' is not inside repository '" + wd +
           "': No such file or directory (os error 2)",
       false},
  };
  for (const auto& c : cases) {
    auto rel = repo_relative_path(r(), c.path);
    ASSERT_EQ(rel.ok(), c.ok) << c.path;
    EXPECT_EQ(c.ok ? *rel : rel.error().message(), c.expected) << c.path;
  }
}

}  // namespace
}  // namespace tarn
