git init -q -b main --object-format=sha256
git commit -q --allow-empty -m initial
