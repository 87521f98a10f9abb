mkdir real-git-dir
ln -s real-git-dir .git
