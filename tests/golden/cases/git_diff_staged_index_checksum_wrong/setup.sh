git init -q -b main
git commit -q --allow-empty -m initial
git add -A
# A checksum that is not all zero must match the content.
size=$(stat -c %s .git/index)
last=$(od -An -tu1 -j $((size - 1)) -N1 .git/index)
printf "\\$(printf %o $((last ^ 255)))" | dd of=.git/index bs=1 seek=$((size - 1)) count=1 conv=notrunc status=none
