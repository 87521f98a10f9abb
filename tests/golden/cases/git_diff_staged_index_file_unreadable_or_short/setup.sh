git init -q -b main
git add README.md shop
git commit -qm initial
# Twelve bytes: a header with nothing after it.
printf 'DIRC\0\0\0\2\0\0\0\0' >short.idx
# Run as nobody when the harness is root, so the tree must be nobody's too.
if [ "$(id -u)" = 0 ]; then chown -R 65534:65534 .; fi
chmod 000 .git/index
