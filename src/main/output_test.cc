#include "main/output.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <string>
#include <vector>

#include "testing/temp_tree.h"

namespace tarn {
namespace {

enum class Stdout { DevFull, ClosedPipe };

struct Outcome {
  int status = -1;
  std::string err;
};

// Runs the tarn binary built beside this test in `dir` with the given
// standard output, and collects its standard error and exit status.
Outcome run_tarn(const std::string& dir, Stdout out) {
  char self[PATH_MAX] = {};
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  const std::string exe = std::string(self, n > 0 ? static_cast<size_t>(n) : 0);
  const std::string binary = exe.substr(0, exe.rfind('/') + 1) + "tarn";

  int err_pipe[2], out_pipe[2];
  EXPECT_EQ(pipe(err_pipe), 0);
  EXPECT_EQ(pipe(out_pipe), 0);
  // The reader is gone before the first byte is written.
  close(out_pipe[0]);
  const pid_t pid = fork();
  if (pid == 0) {
    const int out_fd = out == Stdout::DevFull ? open("/dev/full", O_WRONLY) : out_pipe[1];
    dup2(out_fd, STDOUT_FILENO);
    dup2(err_pipe[1], STDERR_FILENO);
    close(err_pipe[0]);
    if (chdir(dir.c_str()) != 0) _exit(100);
    char* const argv[] = {const_cast<char*>(binary.c_str()), const_cast<char*>("shop"), nullptr};
    char* const envp[] = {const_cast<char*>("NO_COLOR=1"), nullptr};
    execve(binary.c_str(), argv, envp);
    _exit(101);
  }
  close(out_pipe[1]);
  close(err_pipe[1]);
  Outcome outcome;
  char buffer[4096];
  ssize_t got;
  while ((got = read(err_pipe[0], buffer, sizeof buffer)) > 0) outcome.err.append(buffer, static_cast<size_t>(got));
  close(err_pipe[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return outcome;
}

TEST(ReportOutput, UnwritableStandardOutput) {
  testing::TempTree tree;
  tree.write("shop/migrations/0001_bad.py", "def (\n");
  tree.write("shop/migrations/0002_index.py",
             "from django.db import migrations, models\n\nclass Migration(migrations.Migration):\n"
             "    operations = [migrations.AddIndex(model_name='o', index=models.Index(fields=['n'], name='i'))]\n");
  const std::string file_error =
      "error: shop/migrations/0001_bad.py - Parse error in shop/migrations/0001_bad.py at line 1, column 0\n";
  // A full disk is a failure worth a word, after the per-file lines already due;
  // a reader that went away is not.
  const struct {
    Stdout out;
    std::string err;
  } rows[] = {
      {Stdout::DevFull, file_error + "error: Failed to write the report: No space left on device (os error 28)\n"},
      {Stdout::ClosedPipe, file_error},
  };
  for (const auto& row : rows) {
    const Outcome outcome = run_tarn(tree.root(), row.out);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(outcome.err, row.err);
  }
}

}  // namespace
}  // namespace tarn
