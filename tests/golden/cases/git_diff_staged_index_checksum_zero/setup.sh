git init -q -b main
git commit -q --allow-empty -m initial
git add -A
# git with index.skipHash (feature.manyFiles) ends the index with 20 zero bytes
# in place of its checksum.
size=$(stat -c %s .git/index)
dd if=/dev/zero of=.git/index bs=1 seek=$((size - 20)) count=20 conv=notrunc status=none
