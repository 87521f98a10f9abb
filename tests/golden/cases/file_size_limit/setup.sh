mkdir -p shop/migrations
pad() { # file size
  { cat template.txt; printf '# '; head -c $(($2 - $(wc -c < template.txt) - 3)) /dev/zero | tr '\0' 'x'; printf '\n'; } > "$1"
}
pad shop/migrations/0002_exactly_the_limit.py 10485760
pad shop/migrations/0003_one_byte_over.py 10485761
test "$(wc -c < shop/migrations/0002_exactly_the_limit.py)" = 10485760
