mkdir -p shop/migrations
nest() { # depth file
  local open close
  open=$(printf '%*s' "$1" '' | tr ' ' '[')
  close=$(printf '%*s' "$1" '' | tr ' ' ']')
  printf 'X = %s1%s\n' "$open" "$close" > "$2"
}
# module (depth 1), expression_statement and assignment sit above the lists and the
# innermost list's tokens one level below it: 252 lists put the deepest node at 256.
nest 252 shop/migrations/0001_deepest_allowed.py
nest 253 shop/migrations/0002_one_level_deeper.py
