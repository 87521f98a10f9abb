git init -q --bare -b main
