# Only root can give the work tree to another ordinary user.
[ "$(id -u)" = 0 ] || exit 77
mkdir .git
chown 65534:65534 .
