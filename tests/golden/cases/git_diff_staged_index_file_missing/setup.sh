git init -q -b main
git add README.md shop
git commit -qm initial
mv template_0002.py shop/migrations/0002_drop_number_idx.py
git add shop
