git init -q -b main
git add README.md shop
git commit -qm initial
printf '\xff# not utf-8\n' > shop/migrations/0002_latin1.py
printf '# cut short \xe2\x82' > shop/migrations/0003_truncated.py
git add shop/migrations
