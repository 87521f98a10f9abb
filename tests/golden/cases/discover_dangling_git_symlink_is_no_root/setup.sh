ln -s missing-git-dir .git
