#!/usr/bin/env bash
# system_trusts.sh on a table of system files: each row's verdict is what
# libgit2 1.9 made of that file. As root, where a mount namespace can be had,
# each row is also put to libgit2 itself: the file is bound over /etc/gitconfig
# and tarn reads a repository owned by another user (status 0 trusted, 2 refused).
# Usage: system_trusts_test.sh TARN_BINARY
# Exit status: 0 when every verdict agrees, 1 otherwise.
set -uo pipefail
helper="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/system_trusts.sh"
tarn="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
tmp=$(mktemp -d --tmpdir tarn-trusts-XXXXXX) && tmp=$(cd "$tmp" && pwd -P) || exit 1
trap 'rm -rf "$tmp"' EXIT
repo=$tmp/repo
git init -q -b main "$repo" &&
  git -C "$repo" -c user.name=t -c user.email=t@example.com commit -q --allow-empty -m initial || exit 1
printf '[safe]\n\tdirectory = *\n' >"$tmp/star"
# verdict|the file's lines
rows=(
  "refused|[user]|	name = t"
  "trusted|[safe]|	directory = *"
  "trusted|[Safe]|	Directory = \"*\""
  "trusted|[safe]|	directory = $repo"
  "trusted|[safe]|	directory = %(prefix)/$repo"
  "refused|[safe]|	directory = $repo/"
  "refused|[safe]|	directory = $tmp/*"
  "refused|[safe]|	directory = $tmp"
  "refused|[safe]|	directory = *|	directory ="
  "trusted|[safe]|	directory =|	directory = *"
  "trusted|[safe]|	directory = *|	directory = /elsewhere"
  "trusted|[include]|	path = $tmp/star"
  "refused|[includeIf \"gitdir:$repo/\"]|	path = $tmp/star"
)
libgit2=0
# Root reading a repository it does not own is refused unless it is trusted; a
# file can only be bound over one that exists.
[[ "$(id -u)" == 0 && -f /etc/gitconfig ]] && unshare -m true 2>/dev/null &&
  chown -R 65534:65534 "$repo" && libgit2=1
failed=0
for row in "${rows[@]}"; do
  IFS='|' read -r -a fields <<<"$row"
  expected=${fields[0]}
  printf '%s\n' "${fields[@]:1}" >"$tmp/gitconfig"
  if "$helper" "$repo" "$tmp/gitconfig" >/dev/null; then got=trusted; else got=refused; fi
  [[ "$got" == "$expected" ]] || { echo "FAIL ${fields[*]:1}: system_trusts.sh says $got"; failed=1; }
  ((libgit2)) || continue
  # shellcheck disable=SC2016 # expanded by the inner shell
  unshare -m sh -c 'mount --bind "$1" /etc/gitconfig && cd "$2" && exec "$3" --diff main' - \
    "$tmp/gitconfig" "$repo" "$tarn" >/dev/null 2>&1
  status=$?
  case $status in 0) got=trusted ;; 2) got=refused ;; *) got="status $status" ;; esac
  [[ "$got" == "$expected" ]] || { echo "FAIL ${fields[*]:1}: libgit2 says $got"; failed=1; }
done
((libgit2)) || echo "not compared with libgit2 itself (that needs root, a mount namespace and /etc/gitconfig)"
((failed == 0)) && echo "${#rows[@]} system files judged as libgit2 judges them"
exit "$failed"
