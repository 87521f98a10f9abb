git init -q -b main
git add README.md shop
git commit -qm initial
git checkout -q -b feature
printf '# caf\xc3\xa9 \xe9t\xe9\n' > shop/migrations/0002_latin1.py
git add shop/migrations/0002_latin1.py
git commit -qm latin1
