# The repository belongs to root; the run script runs as nobody, with one
# HOME or file per place that trusts every directory.
[ "$(id -u)" = 0 ] || { echo "needs root to make a repository another user reads"; exit 77; }
if why=$("$HARNESS/system_trusts.sh" .); then echo "$why"; exit 77; fi
git init -q -b main
git commit -q --allow-empty -m initial
trust='[safe]
	directory = *'
mkdir -p "$HOME/dot-config/.config/git" "$HOME/xdg/git" "$HOME/plain"
printf '%s\n' "$trust" >"$HOME/dot-config/.config/git/config"
printf '%s\n' "$trust" >"$HOME/xdg/git/config"
printf '%s\n' "$trust" >"$HOME/global"
