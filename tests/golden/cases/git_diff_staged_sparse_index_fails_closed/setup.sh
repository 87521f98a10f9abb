# A sparse index stands for whole folders with one entry, which tarn's git
# library cannot read: the hook must refuse, not pass a commit it did not see.
git init -q -b main
mkdir -p shop/migrations docs
echo notes > docs/notes.txt
git add -A
git commit -q -m initial
git sparse-checkout set --cone --sparse-index shop
printf 'from django.db import migrations\n' > shop/migrations/0002_empty.py
git add -A
