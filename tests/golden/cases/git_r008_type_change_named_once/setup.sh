git init -q -b main
git add README.md docs shop
git commit -qm initial
git checkout -q -b feature
mv template_0002.py shop/migrations/0002_drop_number_idx.py
# The guide becomes a symbolic link: one changed file, named once.
rm docs/guide.md
ln -s ../README.md docs/guide.md
git add -A
git commit -qm "drop number index, link the guide"
