git init -q -b main
git add README.md shop
git commit -qm initial
mv template_0002.py shop/migrations/0002_drop_number_idx.py
git add shop/migrations/0002_drop_number_idx.py
# The working-tree copy differs from the staged one and is never read.
echo "this is not python (" >> shop/migrations/0002_drop_number_idx.py
cp shop/migrations/0002_drop_number_idx.py shop/migrations/0003_untracked.py
