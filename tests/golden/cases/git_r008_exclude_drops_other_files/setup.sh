git init -q -b main
git add README.md shop docs src stillwater.toml
git commit -qm initial
git checkout -q -b feature
mv template_0002.py shop/migrations/0002_drop_number_idx.py
echo "More." >> docs/guide.md
echo "More." >> README.md
git add -A
git commit -qm "feature"
