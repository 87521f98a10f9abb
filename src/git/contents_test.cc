#include "git/contents.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "git/repository.h"
#include "git/test_repo.h"

namespace tarn {
namespace {

using testing::CwdGuard;
using testing::TempDir;
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

  TempRepo repo;
  GitRepo handle;
};

TEST_F(ContentsTest, HeadAndIndexAreReadNeverTheWorkTree) {
  const std::string rel = "app/migrations/0001_initial.py";
  repo.commit_file(rel, "committed\n");
  repo.write(rel, "staged\n");
  repo.git("add " + rel);
  repo.write(rel, "working tree\n");

  for (const std::string& path : {repo.at(rel), rel, repo.dir() + "//app/./migrations/0001_initial.py"}) {
    auto head = read_head_file(r(), path);
    ASSERT_TRUE(head.ok()) << head.error().message();
    EXPECT_EQ(*head, "committed\n");
    auto staged = read_staged_file(r(), path);
    ASSERT_TRUE(staged.ok()) << staged.error().message();
    EXPECT_EQ(*staged, "staged\n");
  }
  // Relative paths belong to the work tree, wherever the process runs.
  CwdGuard elsewhere("/");
  auto head = read_head_file(r(), rel);
  ASSERT_TRUE(head.ok());
  EXPECT_EQ(*head, "committed\n");
}

TEST_F(ContentsTest, FilesMissingFromTheSource) {
  repo.commit_file("keep.py", "x\n");
  repo.write("new.py", "not committed\n");
  auto head = read_head_file(r(), repo.at("new.py"));
  ASSERT_FALSE(head.ok());
  EXPECT_TRUE(head.error().message().starts_with("Git error: File 'new.py' is not present in HEAD: "))
      << head.error().message();
  EXPECT_TRUE(head.error().message().ends_with("; class=Tree (14); code=NotFound (-3)")) << head.error().message();

  auto staged = read_staged_file(r(), repo.at("new.py"));
  ASSERT_FALSE(staged.ok());
  EXPECT_EQ(staged.error().message(), "Git error: File 'new.py' is not present in the git index");

  repo.git("add new.py");
  EXPECT_TRUE(read_staged_file(r(), repo.at("new.py")).ok());
}

TEST_F(ContentsTest, OnlyRegularFilesAreRead) {
  repo.write("run.py", "executable\n");
  std::filesystem::permissions(repo.at("run.py"), std::filesystem::perms::owner_exec, std::filesystem::perm_options::add);
  std::filesystem::create_symlink("run.py", repo.at("link.py"));
  repo.git("add run.py link.py");
  // A gitlink entry, as a submodule leaves in the tree.
  repo.git("update-index --add --cacheinfo 160000,1111111111111111111111111111111111111111,sub");
  repo.git("commit -q -m modes");

  auto exec = read_head_file(r(), "run.py");
  ASSERT_TRUE(exec.ok()) << exec.error().message();
  EXPECT_EQ(*exec, "executable\n");

  struct Case {
    const char* rel;
    const char* head;
    const char* staged;
  };
  const Case cases[] = {
      {"link.py", "Git error: Refusing to read non-regular file 'link.py' from HEAD",
       "Git error: Refusing to read non-regular staged file 'link.py' from git index"},
      {"sub", "Git error: Refusing to read non-regular file 'sub' from HEAD",
       "Git error: Refusing to read non-regular staged file 'sub' from git index"},
  };
  for (const auto& c : cases) {
    auto head = read_head_file(r(), c.rel);
    ASSERT_FALSE(head.ok()) << c.rel;
    EXPECT_EQ(head.error().message(), c.head);
    auto staged = read_staged_file(r(), c.rel);
    ASSERT_FALSE(staged.ok()) << c.rel;
    EXPECT_EQ(staged.error().message(), c.staged);
  }
}

TEST_F(ContentsTest, BlobSizeLimit) {
  repo.write("at_limit.py", std::string(10485760, 'a'));
  repo.write("over_limit.py", std::string(10485761, 'a'));
  repo.git("add -A");
  repo.git("commit -q -m big");

  auto at = read_head_file(r(), "at_limit.py");
  ASSERT_TRUE(at.ok()) << at.error().message();
  EXPECT_EQ(at->size(), 10485760u);

  const std::string over = repo.at("over_limit.py");
  for (auto reader : {read_head_file, read_staged_file}) {
    auto big = reader(r(), over);
    ASSERT_FALSE(big.ok());
    EXPECT_EQ(big.error().kind, ErrorKind::FileTooLarge);
    EXPECT_EQ(big.error().message(), "File too large: " + over + " (10485761 bytes, max 10485760 bytes)");
  }
}

TEST_F(ContentsTest, TextMustBeUtf8) {
  repo.commit_file("head.py", "ab\xE2\x82");
  auto head = read_head_file(r(), "head.py");
  ASSERT_FALSE(head.ok());
  EXPECT_EQ(head.error().message(),
            "Git error: HEAD file 'head.py' is not valid UTF-8: incomplete utf-8 byte sequence from index 2");

  const std::pair<std::string, std::string> cases[] = {
      {"\xFF" "rest", "invalid utf-8 sequence of 1 bytes from index 0"},
      {"a\xE2\x82" "A", "invalid utf-8 sequence of 2 bytes from index 1"},
      {"ab\xF0\x90\x80" "Z", "invalid utf-8 sequence of 3 bytes from index 2"},
      {"\xC3\xA9\xF0\x9F", "incomplete utf-8 byte sequence from index 2"},
      {"ab\xC0", "invalid utf-8 sequence of 1 bytes from index 2"},
      {"\xED\xA0\x80", "invalid utf-8 sequence of 1 bytes from index 0"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const std::string rel = "bad" + std::to_string(i) + ".py";
    repo.write(rel, cases[i].first);
    repo.git("add " + rel);
    auto staged = read_staged_file(r(), repo.at(rel));
    ASSERT_FALSE(staged.ok()) << rel;
    EXPECT_EQ(staged.error().message(), "Git error: staged file '" + rel + "' is not valid UTF-8: " + cases[i].second);
  }
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
  TempDir outside;
  std::filesystem::create_directories(outside / "real");
  std::filesystem::create_symlink(repo.dir(), outside / "link");
  const std::string wd = repo.workdir();
  // Canonical comparison needs the file to exist.
  repo.write("app/x.py", "");

  struct Case {
    std::string path;
    std::string expected;  // the relative path, or the error message
    bool ok;
  };
  const Case cases[] = {
      {"app/x.py", "app/x.py", true},
      {repo.at("app/x.py"), "app/x.py", true},
      {outside / "link/app/x.py", "app/x.py", true},
      {"", "Git error: Git diff returned unsafe repository path ''", false},
      {"../x.py", "Git error: Git diff returned unsafe repository path '../x.py'", false},
      {"./x.py", "Git error: Git diff returned unsafe repository path './x.py'", false},
      {repo.dir(), "Git error: Git diff returned unsafe repository path ''", false},
      {repo.at("a/../../x.py"), "Git error: Git diff returned unsafe repository path 'a/../../x.py'", false},
      {outside / "real", "Git error: File '" + (outside / "real") + "' is not inside repository '" + wd + "'", false},
      {outside / "gone.py",
       "Git error: File '" + (outside / "gone.py") + "' is not inside repository '" + wd +
           "': No such file or directory (os error 2)",
       false},
  };
  for (const auto& c : cases) {
    auto rel = repo_relative_path(r(), c.path);
    ASSERT_EQ(rel.ok(), c.ok) << c.path;
    EXPECT_EQ(c.ok ? *rel : rel.error().message(), c.expected) << c.path;
  }
}

TEST(ContentsBare, AbsolutePathNeedsAWorkTree) {
  TempRepo bare("--bare");
  CwdGuard cwd(bare.dir());
  auto opened = open_repository();
  ASSERT_TRUE(opened.ok());
  auto rel = repo_relative_path(opened->get(), "/srv/app/x.py");
  ASSERT_FALSE(rel.ok());
  EXPECT_EQ(rel.error().message(), "Git error: Repository has no working directory (bare repo)");
}

}  // namespace
}  // namespace tarn
