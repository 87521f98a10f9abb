git init -q -b main
git add README.md shop
git commit -qm initial
git checkout -q -b feature
mv template_0002.py shop/migrations/0002_drop_number_idx.py
ln -s 0002_drop_number_idx.py shop/migrations/0003_link.py
git add -A
git commit -qm link
