#include "git/contents.h"

#include <gtest/gtest.h>

#include <filesystem>

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
    auto tree = head_tree(r());
    if (!tree.ok()) return std::move(tree).error();
    return read_head_file(r(), tree->get(), path);
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
  auto staged = staged_file(repo.at("new.py"));
  ASSERT_FALSE(staged.ok());
  EXPECT_EQ(staged.error().message(), "Git error: File 'new.py' is not present in the git index");
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
