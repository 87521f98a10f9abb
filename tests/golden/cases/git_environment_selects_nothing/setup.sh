git init -q -b main
git add README.md shop
git commit -qm initial
git checkout -q -b feature
mv template_0002.py shop/migrations/0002_drop_number_idx.py
git add shop
git commit -qm "drop number index"
# Another repository without the branch main; the variables that would select
# it (and an index file that does not exist) are in env.
git init -q -b other elsewhere
git -C elsewhere commit -q --allow-empty -m other
