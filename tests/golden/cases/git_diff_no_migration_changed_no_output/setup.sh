git init -q -b main
git add -A
git commit -qm initial
git checkout -q -b feature
echo "More." >> README.md
echo "# keep" >> shop/migrations/__init__.py
git commit -qam docs
