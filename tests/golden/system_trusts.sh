#!/usr/bin/env bash
# Tells whether the system git configuration trusts DIR (safe.directory) as
# libgit2 1.9 reads it. libgit2 reads that file whatever GIT_CONFIG_NOSYSTEM
# says, so a case whose repository must be refused to another user cannot run
# where it trusts the directory. libgit2 takes the values in order, following
# include.path but no includeIf: an empty value forgets those before it, `*`
# trusts every directory, and any other value the one directory it names as
# written (a trailing slash, `/*` or `~` matches nothing), less a leading
# `%(prefix)/` before an absolute path.
# Usage: system_trusts.sh DIR [FILE]   (FILE: the system file, /etc/gitconfig)
# Exit status: 0 when FILE trusts DIR, printing one line that says so; 1 otherwise.
set -uo pipefail
dir=$(cd "$1" && pwd -P) || exit 1
file=${2:-/etc/gitconfig}
trusted=""
while IFS= read -r -d '' value; do
  if [[ -z "$value" ]]; then
    trusted=""
  elif [[ "$value" == "*" || "${value#"%(prefix)/"}" == "$dir" ]]; then
    trusted=$value
  fi
# From /, where no repository makes an includeIf apply.
done < <(cd / && git config --file "$file" --includes -z --get-all safe.directory 2>/dev/null)
[[ -n "$trusted" ]] || exit 1
echo "the system git configuration $file trusts this directory (safe.directory = $trusted), and libgit2 reads it whatever GIT_CONFIG_NOSYSTEM says"
