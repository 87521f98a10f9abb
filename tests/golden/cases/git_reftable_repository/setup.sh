git init -q -b main
git commit -q --allow-empty -m initial
# What `git init --ref-format=reftable` (git 2.45 and later) writes in the
# configuration; libgit2 1.9 cannot read such references, so the run fails.
git config core.repositoryformatversion 1
git config extensions.refStorage reftable
