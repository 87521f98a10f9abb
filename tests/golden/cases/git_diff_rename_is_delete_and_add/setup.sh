git init -q -b main
mv template_0002.py shop/migrations/0002_drop_number_idx.py
git add -A
git commit -qm initial
git checkout -q -b feature
git mv shop/migrations/0002_drop_number_idx.py shop/migrations/0003_drop_number_idx.py
git commit -qm renumber
