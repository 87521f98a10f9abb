git init -q -b main
git add README.md shop billing
git commit -qm initial
git checkout -q -b feature
git rm -rq shop
git commit -qm "remove the shop app"
