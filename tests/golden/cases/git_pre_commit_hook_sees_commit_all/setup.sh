git init -q -b main
# The commits of the run script need an identity of their own.
git config user.name golden
git config user.email golden@example.com
git add README.md shop
git commit -qm initial
git checkout -q -b feature
# A harmless first version of the next migration is committed on the branch ...
cat > shop/migrations/0002_drop_number_idx.py <<'PY'
from django.db import migrations


class Migration(migrations.Migration):

    dependencies = [
        ("shop", "0001_initial"),
    ]

    operations = []
PY
git add shop
git commit -qm "next migration"
# ... then edited in the working tree only, so .git/index keeps the harmless one.
mv template_0002.py shop/migrations/0002_drop_number_idx.py
printf '#!/bin/sh\nexec "%s" --diff-staged main\n' "$TARN" >.git/hooks/pre-commit
chmod +x .git/hooks/pre-commit
# git cannot run the hook where no program runs (a noexec mount, which the harness avoids while it can).
printf '#!/bin/sh\n' >.git/hooks/probe && chmod +x .git/hooks/probe
.git/hooks/probe || { echo "no program, so no hook, can run in the scratch dir (mounted noexec?)"; exit 77; }
rm .git/hooks/probe
