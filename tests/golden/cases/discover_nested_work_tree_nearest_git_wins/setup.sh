# The outer work tree's configuration lies above the inner root.
mkdir .git app/.git
