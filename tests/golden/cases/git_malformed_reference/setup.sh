git init -q -b main
git add -A
git commit -qm initial
