mkdir -p $'shop\nlegacy/migrations'
printf 'x = (1,\n' > $'shop\nlegacy/migrations/0002_broken.py'
