git init -q -b main
git add README.md docs shop
git commit -qm initial
mv template_0002.py shop/migrations/0002_drop_number_idx.py
git add shop/migrations/0002_drop_number_idx.py
# Added with intent to add: a commit records neither file, and the migration is
# not analysed.
mv later_0003.py shop/migrations/0003_later.py
git add -N NOTES.md shop/migrations/0003_later.py
# Taken out of the index and added back with intent to add: a commit records
# their deletion, also for the empty file whose entry names the same blob.
git rm -q --cached docs/guide.md docs/empty.md
git add -N docs/guide.md docs/empty.md
