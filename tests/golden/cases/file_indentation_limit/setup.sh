# Indentation the grammar's scanner cannot hold (256 columns or more) is named
# at the first statement line that reaches it, whether the tree would come out
# with a syntax error (0001: nested blocks) or silently misshapen (0003: the
# body stays at 256 columns). 0002 stops one column short and is analysed.
mkdir -p shop/migrations
nested() { # file, columns per level, levels
  printf 'def f():\n' >"$1"
  for i in $(seq "$3"); do printf '%*sif x:\n' $(($2 * i)) ''; done >>"$1"
  printf '%*spass\n' $(($2 * ($3 + 1))) '' >>"$1"
}
nested shop/migrations/0001_nested.py 4 70
nested shop/migrations/0002_just_under.py 5 50
{ printf 'def f():\n%256sx = 1\n%256sy = 2\nz = 3\n' '' ''; } >shop/migrations/0003_flat.py
