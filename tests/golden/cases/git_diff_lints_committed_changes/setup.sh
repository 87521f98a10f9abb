git init -q -b main
git add -A
git commit -qm initial
git checkout -q -b feature
cat > shop/migrations/0002_order_created_idx.py <<'PY'
from django.db import migrations, models


class Migration(migrations.Migration):

    dependencies = [
        ("shop", "0001_initial"),
    ]

    operations = [
        migrations.RemoveIndex(
            model_name="order",
            name="shop_order_number_idx",
        ),
    ]
PY
echo "More docs." >> README.md
git add -A
git commit -qm "drop number index"
# Uncommitted edits are never read in --diff mode.
echo "        migrations.AddIndex(model_name='order', index=None)," > shop/migrations/0002_order_created_idx.py
