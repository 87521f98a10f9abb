git init -q -b main
git add README.md shop docs src
git commit -qm initial
git checkout -q -b feature
echo "More." >> README.md
git commit -qam docs
