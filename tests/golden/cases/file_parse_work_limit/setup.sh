# 10,000 backslash continuations (30 KB): the grammar rescans what follows each
# one, so the lexer would read about 150 MB; the file is refused as a parse
# error and the other file is still reported. A file of ordinary lines of the
# same size parses.
mkdir -p shop/migrations
{ printf 'x = 1'; for _ in $(seq 10000); do printf ' \\\n'; done; printf '\n'; } >shop/migrations/0001_continued.py
for i in $(seq 1000); do printf 'value_%04d = call(a, b=[1, 2])\n' "$i"; done >shop/migrations/0003_ordinary.py
