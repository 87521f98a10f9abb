git init -q -b main
git add README.md shop docs src stillwater.toml
git commit -qm initial
git checkout -q -b feature
mv template_0002.py shop/migrations/0002_drop_number_idx.py
echo "More." >> README.md
mkdir -p build
echo "all:" > build/Makefile
printf 'odd name\n' > 'docs\notes.md'
printf 'odd name\n' > 'src\tool.md'
echo 'print("changed")' >> src/app.py
git add -A
git commit -qm "feature"
