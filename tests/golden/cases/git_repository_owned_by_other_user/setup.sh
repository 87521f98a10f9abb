# The repository belongs to root; the command runs as nobody.
[ "$(id -u)" = 0 ] || { echo "needs root to make a repository another user reads"; exit 77; }
if why=$("$HARNESS/system_trusts.sh" .); then echo "$why"; exit 77; fi
git init -q -b main
git commit -q --allow-empty -m initial
