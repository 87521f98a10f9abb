git init -q -b main origin
cd origin
for n in 1 2 3; do git commit -q --allow-empty -m "main $n"; done
git checkout -q -b feature
mkdir -p shop/migrations
echo "# empty" > shop/migrations/0001_initial.py
git add shop
git commit -qm feature
cd ..
# One commit of each branch: the parents the merge base search walks are absent.
git clone -q --depth 1 --branch feature "file://$PWD/origin" clone
git -C clone fetch -q --depth 1 origin main:main
