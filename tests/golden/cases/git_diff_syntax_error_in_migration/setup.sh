git init -q -b main
git add README.md shop
git commit -qm initial
git checkout -q -b feature
cp template_0002.py shop/migrations/0002_drop_number_idx.py
printf 'from django.db import migrations\n\nclass Migration(migrations.Migration)\n    operations = []\n' > shop/migrations/0003_broken.py
rm template_0002.py
git add -A
git commit -qm "two migrations"
