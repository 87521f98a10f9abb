# The index keeps part of its entries in a shared file tarn's git library
# cannot read: the hook must refuse, not pass a commit it did not see.
git init -q -b main
git commit -q --allow-empty -m initial
git config core.splitIndex true
mkdir -p shop/migrations
printf 'from django.db import migrations\n' > shop/migrations/0002_empty.py
git add -A
git update-index --split-index
