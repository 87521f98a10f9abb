git init -q -b main
git add README.md shop
git commit -qm initial
git checkout -q -b feature
{ printf '# padding\n'; head -c $((10485761 - 10)) /dev/zero | tr '\0' '#'; } > shop/migrations/0002_huge.py
git add shop/migrations/0002_huge.py
git commit -qm huge
