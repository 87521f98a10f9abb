git init -q -b main
git add -A
git commit -qm initial
git checkout -q --orphan other
git rm -rqf .
echo other > other.txt
git add other.txt
git commit -qm other
git checkout -q main
